// Windows: the time since the process started, from the process's creation time.
#ifdef _WIN32

#include <windows.h>

#include "ui/startup_clock.h"

namespace kelvox {

std::optional<double> MillisecondsSinceProcessStart() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
    return std::nullopt;
  }
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  // FILETIME counts 100-nanosecond intervals.
  return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

}  // namespace kelvox

#endif  // _WIN32

// Linux: from the process start time in /proc (Windows: startup_clock_win32.cpp).
#ifndef _WIN32

#include "ui/startup_clock.h"

#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace kelvox {

std::optional<double> MillisecondsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string line;
  if (!std::getline(stat, line)) return std::nullopt;
  // The command name (field 2) may hold blanks; the fields after its closing parenthesis are
  // plain numbers, and the start time is field 22.
  const auto close = line.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  for (int index = 3; index < 22; ++index) fields >> field;
  unsigned long long start_ticks = 0;
  if (!(fields >> start_ticks)) return std::nullopt;
  const long ticks_per_second = sysconf(_SC_CLK_TCK);
  timespec now{};
  if (ticks_per_second <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0) return std::nullopt;
  const double now_ms = static_cast<double>(now.tv_sec) * 1000.0 + now.tv_nsec / 1e6;
  return now_ms - static_cast<double>(start_ticks) * 1000.0 / ticks_per_second;
}

}  // namespace kelvox

#endif  // _WIN32

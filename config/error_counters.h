// The error counters the operating system keeps of a function: on Linux the kernel's Advanced
// Error Reporting counts, per kind of error, how many the device has reported since boot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvox {

struct ErrorCounter {
  // "correctable", "nonfatal" or "fatal" for the device's own counts; "rootport_correctable",
  // "rootport_nonfatal" or "rootport_fatal" for what a root port has received from below.
  std::string group;
  std::string name;  // the kernel's name of the error ("RxErr", "BadTLP"), "TOTAL_ERR_COR"
  uint64_t count = 0;
  bool operator==(const ErrorCounter&) const = default;
};

}  // namespace kelvox

// The names of the function folders under /sys/bus/pci/devices: "DDDD:BB:DD.F", domain, bus,
// device and function in lower-case hex, as the kernel writes them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/function_location.h"

namespace kelvox {

// The folder name of a function: its domain in at least 4 digits, as the kernel writes it.
std::string SysfsFolderName(FunctionLocation at);

// The location a folder name stands for: 4 to 8 hex digits of domain (at most kMaxDomain; VMD
// domains have 5), 2 of bus, 2 of device (at most 1f) and 1 of function (at most 7), with
// ':', ':' and '.' between them; nothing for any other name.
std::optional<FunctionLocation> ParseSysfsFolderName(std::string_view name);

}  // namespace kelvox

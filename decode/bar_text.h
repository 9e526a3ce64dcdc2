// The one line of text that shows a decoded base address register: its range and its kind.
#pragma once

#include <string>

#include "decode/bar_range.h"

namespace kelvox {

// What a register that reads all ones (an absent function or a failed access) shows.
inline constexpr char kNoDeviceText[] = "no device";

// "start - end : kind" with lower-case hex: 8 digits for memory and ROM, at least 4 for I/O.
std::string FormatBarRange(const BarRange& range);

}  // namespace kelvox

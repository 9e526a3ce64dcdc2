// printf-style formatting into a std::string, for the short texts of the details pages.
#pragma once

#include <string>

namespace kelvox {

// The text printf would write for `format` and its arguments (cut at 255 bytes).
std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kelvox

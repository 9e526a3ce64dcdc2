// The manual page kelvox(1), as roff, made from the same texts as the window program's --help.
#pragma once

#include <string>
#include <string_view>

namespace kelvox {

// The whole page for the program of `version`.
std::string AppManualPage(std::string_view version);

}  // namespace kelvox

// The manual page kelvox-cli(1), as roff, made from the same command table and help texts as
// --help, so that the two cannot disagree.
#pragma once

#include <string>
#include <string_view>

namespace kelvox::cli {

// The whole page for the program of `version`.
std::string CliManualPage(std::string_view version);

}  // namespace kelvox::cli

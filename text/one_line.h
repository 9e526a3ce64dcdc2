// Keeping a message on one line: a file name or argument may hold a newline or another control
// character, which would otherwise split a one-line message in two or move the terminal's
// cursor.
#pragma once

#include <string>
#include <string_view>

namespace kelvox {

// `text` with every control character (bytes 0x00-0x1F and 0x7F) written as an escape: "\n",
// "\r", "\t", or "\xNN" with two upper-case hex digits. Every other byte, UTF-8 sequences and
// backslashes included, is kept as it is.
std::string OneLine(std::string_view text);

}  // namespace kelvox

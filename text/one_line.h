// Keeping outside text from steering the terminal: a file name, an argument or a name read from
// a file may hold a newline or another control character, which would otherwise split a
// one-line message in two, move the terminal's cursor or start an escape sequence.
#pragma once

#include <string>
#include <string_view>

namespace kelvox {

// `text` with every control character (bytes 0x00-0x1F and 0x7F) written as an escape: "\n",
// "\r", "\t", or "\xNN" with two upper-case hex digits. Every other byte, UTF-8 sequences and
// backslashes included, is kept as it is, so a message names a file byte for byte.
std::string OneLine(std::string_view text);

// `text` as a command prints it: the escapes of OneLine for every control character but the
// line break ("\n" is kept, so a text of several lines stays so), and also "\xNN" for each byte
// of a C1 control character (U+0080-U+009F, which terminals obey as they obey ESC) and for each
// byte that is not part of a valid UTF-8 sequence (a stray continuation byte, a sequence cut
// short, an overlong form, a surrogate, anything past U+10FFFF, 0xC0, 0xC1 and 0xF5-0xFF).
// Every other character, the Japanese texts included, is kept as it is.
std::string TerminalText(std::string_view text);

}  // namespace kelvox

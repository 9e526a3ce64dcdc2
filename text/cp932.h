// Conversion between the program's UTF-8 texts and CP932 (Shift JIS), the code page every
// user-visible text of Kelvox is defined in. Uses glibc iconv.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvox {

// The CP932 bytes of a UTF-8 text, or nothing when the text is not valid UTF-8 or holds a
// character that CP932 cannot represent.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// The UTF-8 form of CP932 bytes, or nothing when they are not valid CP932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// The CP932 bytes of what a person typed: a character with no CP932 form becomes one byte
// 0x80 (never a hexadecimal digit), so the text keeps one unit per character it cannot map.
std::string Utf8ToCp932Lossy(std::string_view utf8);

// True when the text converts to CP932 and back to exactly the same UTF-8.
bool RoundTripsThroughCp932(std::string_view utf8);

}  // namespace kelvox

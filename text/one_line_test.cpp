#include "text/one_line.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvox {
namespace {

using namespace std::string_literals;

TEST(OneLineTest, EscapesEveryControlCharacter) {
  EXPECT_EQ(OneLine("a\nb"), "a\\nb");
  EXPECT_EQ(OneLine("\r\t"), "\\r\\t");
  EXPECT_EQ(OneLine("\x01\x1b[2J\x1f\x7f"), "\\x01\\x1B[2J\\x1F\\x7F");
  EXPECT_EQ(OneLine("nul\0end"s), "nul\\x00end");
  EXPECT_EQ(OneLine("\v\f\b"), "\\x0B\\x0C\\x08");
}

TEST(OneLineTest, KeepsEverythingElseByteForByte) {
  EXPECT_EQ(OneLine(""), "");
  EXPECT_EQ(OneLine(" ~plain text 0-9"), " ~plain text 0-9");
  // Backslashes are not doubled: only control characters change.
  EXPECT_EQ(OneLine("C:\\dir\\n"), "C:\\dir\\n");
  // UTF-8 (lead and continuation bytes are all 0x80 or above) and stray high bytes stay.
  EXPECT_EQ(OneLine("ベンダID\xff\x80"), "ベンダID\xff\x80");
}

TEST(TerminalTextTest, EscapesWhatWouldSteerTheTerminalAndKeepsTheRest) {
  const struct {
    std::string text, shown;
  } cases[] = {
      // Line breaks stay; every other C0 control and DEL as OneLine writes them.
      {"a\nb\n", "a\nb\n"},
      {"\x1b]0;title\x07\r\b\x7f\t"s, "\\x1B]0;title\\x07\\r\\x08\\x7F\\t"},
      {"nul\0end"s, "nul\\x00end"},
      // C1 controls, UTF-8 encoded (U+0080, U+009B CSI, U+009F), byte by byte.
      {"a\xc2\x80"
       "b\xc2\x9b"
       "2J\xc2\x9f",
       "a\\xC2\\x80b\\xC2\\x9B2J\\xC2\\x9F"},
      // Raw C1 bytes and other bytes outside any valid sequence.
      {"\x9b"
       "2J\x80\xff\xfe",
       "\\x9B2J\\x80\\xFF\\xFE"},
      // Sequences cut short, overlong forms, surrogates and code points past U+10FFFF.
      {"\xe3\x83", "\\xE3\\x83"},
      {"\xe3\x83"
       "x",
       "\\xE3\\x83x"},
      {"\xc0\xaf\xc1\x9b", "\\xC0\\xAF\\xC1\\x9B"},
      {"\xe0\x80\xaf", "\\xE0\\x80\\xAF"},
      {"\xed\xa0\x80", "\\xED\\xA0\\x80"},
      {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
      // Valid UTF-8 stays byte for byte: Latin-1 letters past the C1 block, the Japanese texts,
      // a four-byte character, the last code point.
      {"\xc2\xa0\xc3\xa9", "\xc2\xa0\xc3\xa9"},
      {"ベンダID: 不明 ドライバなし", "ベンダID: 不明 ドライバなし"},
      {"\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf", "\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf"},
      {"C:\\dir\\n", "C:\\dir\\n"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TerminalText(c.text), c.shown) << c.shown;
}

}  // namespace
}  // namespace kelvox

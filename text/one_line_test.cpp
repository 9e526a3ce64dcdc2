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

}  // namespace
}  // namespace kelvox

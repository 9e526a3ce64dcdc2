#include "iddb/generator/table_source.h"

#include <gtest/gtest.h>

namespace kelvox::iddb_gen {
namespace {

TEST(CppStringLiteral, EscapesEveryByteThatCouldChangeMeaning) {
  EXPECT_EQ(CppStringLiteral(""), "\"\"");
  EXPECT_EQ(CppStringLiteral("NV11 / MX 400"), "\"NV11 / MX 400\"");
  EXPECT_EQ(CppStringLiteral("a\"b\\c"), "\"a\\\"b\\\\c\"");
  // No trigraph can form from the emitted text.
  EXPECT_EQ(CppStringLiteral("?\?-"), "\"\\?\\?-\"");
  EXPECT_EQ(CppStringLiteral("a\nb\tc"), "\"a\\012b\\011c\"");
  // Always three octal digits, so the digit after "é" stays a character of its own.
  EXPECT_EQ(CppStringLiteral("é1"), "\"\\303\\2511\"");
}

}  // namespace
}  // namespace kelvox::iddb_gen

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

TEST(TableSource, KeepsEveryRowInStoredOrder) {
  IdLists lists;
  lists.vendors = {{0x0033, "", "Paradyne Corp."}};
  lists.devices = {{0x0033, 0x0002, "b", ""}, {0x0033, 0x0001, "a", ""}, {0x0033, 0x0002, "c", ""}};
  lists.classes = {{0x07, 0x01, 0x00, "S", "P", "Standard"}, {0x07, 0x01, 0x00, "S", "P", "Bi"}};
  const std::string source = TableSource(lists);
  const auto at = [&](std::string_view text) { return source.find(text); };
  EXPECT_NE(at("{0x0033, 0, \"\"sv, \"Paradyne Corp.\"sv}"), std::string::npos);
  EXPECT_LT(at("{0x0033, 0x0002, \"b\"sv"), at("{0x0033, 0x0001, \"a\"sv"));
  EXPECT_LT(at("{0x0033, 0x0001, \"a\"sv"), at("{0x0033, 0x0002, \"c\"sv"));
  EXPECT_LT(at("\"Standard\"sv"), at("\"Bi\"sv"));
  EXPECT_NE(at("{0x07, 0x01, 0x00, 0, \"S\"sv"), std::string::npos);
}

}  // namespace
}  // namespace kelvox::iddb_gen

#include "iddb/generator/tsv_reader.h"

#include <gtest/gtest.h>

namespace kelvox::iddb_gen {
namespace {

// The message of the DataError that reading `content` throws, or "" when it reads cleanly.
std::string FaultOf(std::string_view content, std::size_t fields = 3) {
  try {
    ReadTsv("list.tsv", content, fields);
  } catch (const DataError& error) {
    return error.what();
  }
  return "";
}

TEST(TsvReader, DecodesEscapesAndKeepsEmptyFields) {
  const auto rows = ReadTsv("list.tsv", "a\\\\b\tx\\ny\t\n\tc\\td\t\\\\n\n", 3);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].line, 1u);
  EXPECT_EQ(rows[0].fields, (std::vector<std::string>{"a\\b", "x\ny", ""}));
  EXPECT_EQ(rows[1].line, 2u);
  // "\\n" is a backslash followed by n, not a newline.
  EXPECT_EQ(rows[1].fields, (std::vector<std::string>{"", "c\td", "\\n"}));
}

TEST(TsvReader, LastLineWithoutLineFeedCountsAndUtf8Passes) {
  const auto rows = ReadTsv("list.tsv", "1\t2\t3\n128a\tAsanté\tГнев ™", 3);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].line, 2u);
  EXPECT_EQ(rows[1].fields[2], "Гнев ™");
}

TEST(TsvReader, WrongFieldCountNamesFileAndLine) {
  EXPECT_EQ(FaultOf("a\tb\tc\na\tb\n"), "list.tsv:2: expected 3 tab-separated fields, found 2");
  EXPECT_EQ(FaultOf("a\tb\tc\td\n"), "list.tsv:1: expected 3 tab-separated fields, found 4");
  EXPECT_EQ(FaultOf("a\tb\tc\n\na\tb\tc\n"),
            "list.tsv:2: expected 3 tab-separated fields, found 1");
  EXPECT_EQ(FaultOf("a\tb\tc\n\n"), "list.tsv:2: expected 3 tab-separated fields, found 1");
}

TEST(TsvReader, BadEscapesAreFaults) {
  EXPECT_EQ(FaultOf("a\tb\\x41\tc\n"), "list.tsv:1: unknown escape \\x (only \\\\ \\n \\t)");
  EXPECT_EQ(FaultOf("a\tb\tc\\r\n"), "list.tsv:1: unknown escape \\r (only \\\\ \\n \\t)");
  EXPECT_EQ(FaultOf("a\tb\tc\na\tb\\\tc\n"), "list.tsv:2: backslash at the end of a field");
  EXPECT_EQ(FaultOf("a\tb\tc\\\n"), "list.tsv:1: backslash at the end of a field");
}

TEST(TsvReader, ControlBytesAndBrokenUtf8AreFaults) {
  EXPECT_EQ(FaultOf("a\tb\tc\r\n"),
            "list.tsv:1: carriage return in the line (line ends must be LF)");
  EXPECT_EQ(FaultOf(std::string_view("a\tb\0\tc\n", 7)),
            "list.tsv:1: control byte 0x00 in the line");
  EXPECT_EQ(FaultOf("a\tb\x7f\tc\n"), "list.tsv:1: control byte 0x7f in the line");
  EXPECT_EQ(FaultOf("a\tb\tc\nAsant\xe9\tb\tc\n"), "list.tsv:2: text is not valid UTF-8");
  EXPECT_EQ(FaultOf("a\t\xc3\tc\n"), "list.tsv:1: text is not valid UTF-8");          // cut short
  EXPECT_EQ(FaultOf("a\t\xc0\x80\tc\n"), "list.tsv:1: text is not valid UTF-8");      // overlong
  EXPECT_EQ(FaultOf("a\t\xed\xa0\x80\tc\n"), "list.tsv:1: text is not valid UTF-8");  // surrogate
  EXPECT_EQ(FaultOf("a\t\xf4\x90\x80\x80\tc\n"), "list.tsv:1: text is not valid UTF-8");
}

TEST(TsvReader, FileWithoutRowsIsAFault) {
  EXPECT_EQ(FaultOf(""), "list.tsv:1: the file holds no rows");
}

}  // namespace
}  // namespace kelvox::iddb_gen

#include "options/help_document.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kelvox {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(HelpDocument, CountsTheColumnsATerminalGivesEachCharacter) {
  EXPECT_EQ(DisplayWidth("scan"), 4);
  EXPECT_EQ(DisplayWidth("[ベンダ情報]"), 12);  // five wide characters and two brackets
  EXPECT_EQ(DisplayWidth("？？？？"), 8);       // full-width question marks
  EXPECT_EQ(DisplayWidth("ｶﾀｶﾅ"), 4);           // half-width katakana are narrow
  EXPECT_EQ(DisplayWidth("µs Asanté"), 9);
}

// Paragraphs are wrapped at their blanks within the width, Japanese words counted at their
// width, and a paragraph that starts with two blanks keeps its lines as written; no line ends
// in a blank.
TEST(HelpDocument, WrapsParagraphsAndKeepsVerbatimOnes) {
  const std::string text =
      "then the pages [ベンダ情報], [ベースアドレス], [割込みなど] and [システム], one field "
      "per line, \"LABEL: TEXT\" for a field with a label\n"
      "\n"
      "  BB:DD.F VVVV:DDDD CCCCCC    kept   as   written\n"
      "  second line\n";
  const std::vector<std::string> lines = Lines(WrappedText(text, 2, 40));
  ASSERT_EQ(lines.size(), 7u) << WrappedText(text, 2, 40);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_LE(DisplayWidth(lines[i]), 40) << lines[i];
    EXPECT_TRUE(lines[i].starts_with("  ") && !lines[i].ends_with(" ")) << '"' << lines[i] << '"';
  }
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "    BB:DD.F VVVV:DDDD CCCCCC    kept   as   written");
  EXPECT_EQ(lines[6], "    second line");
}

TEST(HelpDocument, OptionTextStartsInItsColumnOrBelowLongWords) {
  const HelpOption options[] = {{"--bus N", "the bus"}, {"-s [[DDDD:]BB:]DD[.F]", "the place"}};
  EXPECT_EQ(OptionsText(options),
            "  --bus N         the bus\n"
            "  -s [[DDDD:]BB:]DD[.F]\n"
            "                  the place\n");
}

// What roff would take for markup is escaped: a backslash, a minus sign (so that a search for
// "--bus" finds it), and a '.' or '\'' that starts a line, which would be a request.
TEST(HelpDocument, RoffEscapesWhatRoffWouldReadAsMarkup) {
  const struct {
    std::string text, roff;
  } cases[] = {
      {"--bus", "\\-\\-bus"},
      {"C:\\Program Files", "C:\\eProgram Files"},
      {".1 is function 1", "\\&.1 is function 1"},
      {"'quoted' first", "\\&'quoted' first"},
      {"a.b 'c'", "a.b 'c'"},
  };
  for (const auto& c : cases) EXPECT_EQ(RoffEscaped(c.text), c.roff) << c.text;
  EXPECT_EQ(RoffText("Use `list`, then\n.1 more.\n\n  kept\n  lines"),
            ".PP\nUse \\fBlist\\fR, then .1 more.\n.PP\n.nf\n  kept\n  lines\n.fi\n");
  const HelpOption options[] = {{"--source X", ".first\n\nsecond"}, {"0", "success"}};
  EXPECT_EQ(RoffOptions(options),
            ".TP\n\\fB\\-\\-source\\fR \\fIX\\fR\n\\&.first\n.IP\nsecond\n"
            ".TP\n\\fB0\\fR\nsuccess\n");
}

}  // namespace
}  // namespace kelvox

#include "options/args.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

namespace kelvox {
namespace {

constexpr std::array kSpecs = {
    OptionSpec{"--bus", OptionSpec::Kind::kInteger, 0, 255},
    OptionSpec{"--function", OptionSpec::Kind::kInteger, 0, 7},
    OptionSpec{"--source", OptionSpec::Kind::kText},
    OptionSpec{"--json", OptionSpec::Kind::kFlag},
    OptionSpec{"-o", OptionSpec::Kind::kText},
    OptionSpec{"--ids", OptionSpec::Kind::kText, 0, 0, "embedded, system or FILE"},
};

ParseResult Parse(std::vector<std::string> args, size_t max_positionals = 0) {
  return ParseOptions(args, kSpecs, max_positionals);
}

TEST(ParseInteger, AcceptsOnlyWholeDecimalWords) {
  EXPECT_EQ(ParseInteger("0"), 0);
  EXPECT_EQ(ParseInteger("255"), 255);
  EXPECT_EQ(ParseInteger("007"), 7);
  EXPECT_EQ(ParseInteger("-3"), -3);
  for (const char* bad : {"", "12abc", "abc", " 1", "1 ", "+1", "0x10", "1.5", "-", "--1", "１",
                          "99999999999999999999999"}) {
    EXPECT_EQ(ParseInteger(bad), std::nullopt) << '"' << bad << '"';
  }
}

// A bus as people write it: decimal as it always was, hexadecimal when it says so (0x) or
// cannot be decimal (a digit a-f), as lspci writes buses.
TEST(ParseDecimalOrHex, ReadsBareDigitsAsDecimalAndTheRestAsHex) {
  const struct {
    const char* text;
    std::optional<long> value;
  } cases[] = {
      {"10", 10},  {"010", 10},  {"255", 255}, {"0x10", 16},      {"0X1F", 31}, {"1a", 26},
      {"ff", 255}, {"0a", 10},   {"0x", {}},   {"0xg", {}},       {"1g", {}},   {"", {}},
      {" 1a", {}}, {"-0x1", {}}, {"+1a", {}},  {"1a2b3c4d5", {}}, {"ｆｆ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimalOrHex(c.text), c.value) << '"' << c.text << '"';
  constexpr std::array bus = {OptionSpec{"--bus", OptionSpec::Kind::kInteger, 0, 255, {}, true}};
  EXPECT_EQ(ParseOptions(std::vector<std::string>{"--bus", "1a"}, bus).options.Integer("--bus", -1),
            26);
  EXPECT_EQ(ParseOptions(std::vector<std::string>{"--bus", "0x100"}, bus).error,
            "--bus: 256 is outside 0 to 255");
  EXPECT_EQ(ParseOptions(std::vector<std::string>{"--bus", "zz"}, bus).error,
            "--bus: 'zz' is not a number (decimal, or hexadecimal as 0x1a or 1a)");
}

// A one-letter option takes its value right after it too, as getopt does: "-s00:03.0".
TEST(ParseOptions, AOneLetterOptionTakesAValueJoinedToIt) {
  constexpr std::array specs = {OptionSpec{"-s", OptionSpec::Kind::kText},
                                OptionSpec{"-D", OptionSpec::Kind::kFlag}};
  const ParseResult joined = ParseOptions(std::vector<std::string>{"-s00:03.0", "-D"}, specs);
  ASSERT_TRUE(joined.ok()) << joined.error;
  EXPECT_EQ(joined.options.Text("-s"), "00:03.0");
  EXPECT_EQ(ParseOptions(std::vector<std::string>{"-s=1:"}, specs).options.Text("-s"), "1:");
  // A flag takes nothing after it.
  EXPECT_EQ(ParseOptions(std::vector<std::string>{"-Dx"}, specs).error, "unknown option '-Dx'");
}

TEST(ParseOptions, TakesValuesInBothFormsAndKeepsTheLastOfARepeatedOption) {
  const ParseResult r = Parse({"--bus", "3", "--function=7", "--source", "dump.txt", "--bus=4"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.Integer("--bus", 0), 4);
  EXPECT_EQ(r.options.Integer("--function", 0), 7);
  EXPECT_EQ(r.options.Text("--source"), "dump.txt");
  EXPECT_FALSE(r.options.help);
}

TEST(ParseOptions, AbsentOptionsGiveTheFallback) {
  const ParseResult r = Parse({});
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(r.options.Has("--bus"));
  EXPECT_EQ(r.options.Integer("--bus", 42), 42);
  EXPECT_EQ(r.options.Text("--source"), std::nullopt);
}

TEST(ParseOptions, RangeBoundsAreInclusive) {
  EXPECT_TRUE(Parse({"--bus", "0", "--function", "0"}).ok());
  EXPECT_TRUE(Parse({"--bus", "255", "--function", "7"}).ok());
  EXPECT_EQ(Parse({"--bus", "256"}).error, "--bus: 256 is outside 0 to 255");
  EXPECT_EQ(Parse({"--bus", "-1"}).error, "--bus: -1 is outside 0 to 255");
  EXPECT_EQ(Parse({"--function", "8"}).error, "--function: 8 is outside 0 to 7");
}

TEST(ParseOptions, RejectsMalformedCommandLines) {
  EXPECT_EQ(Parse({"--bus", "12abc"}).error, "--bus: '12abc' is not a decimal number");
  EXPECT_EQ(Parse({"--bus="}).error, "--bus: '' is not a decimal number");
  EXPECT_EQ(Parse({"--bus"}).error, "--bus needs a value");
  EXPECT_EQ(Parse({"--function", "2", "--source"}).error, "--source needs a value");
  EXPECT_EQ(Parse({"--source="}).error, "--source: empty value");
  EXPECT_EQ(Parse({"--verbose"}).error, "unknown option '--verbose'");
  EXPECT_EQ(Parse({"--bus=1", "--frob=2"}).error, "unknown option '--frob'");
  EXPECT_EQ(Parse({"-b", "1"}).error, "unknown option '-b'");
  EXPECT_EQ(Parse({"3"}).error, "unexpected argument '3'");
  EXPECT_EQ(Parse({"-"}).error, "unexpected argument '-'");
}

TEST(ParseOptions, AnOptionThatSaysWhatItTakesSaysSoForAMissingOrEmptyValue) {
  EXPECT_EQ(Parse({"--ids"}).error, "--ids needs embedded, system or FILE");
  EXPECT_EQ(Parse({"--ids="}).error, "--ids needs embedded, system or FILE");
  EXPECT_EQ(Parse({"--ids", ""}).error, "--ids needs embedded, system or FILE");
  EXPECT_EQ(Parse({"--ids", "system"}).options.Text("--ids"), "system");
}

TEST(ParseOptions, NamesTheWordNotTakenAtAll) {
  const struct {
    std::vector<std::string> args;
    std::string unknown_word;
  } cases[] = {
      {{"--verbose"}, "--verbose"},
      {{"--bus=1", "--frob=2"}, "--frob=2"},
      {{"3"}, "3"},
      {{"-"}, "-"},
      {{"--bus", "x"}, ""},
      {{"--source"}, ""},
      {{"--json=1"}, ""},
      {{"--bus", "1"}, ""},
  };
  for (const auto& c : cases) {
    const ParseResult r = Parse(c.args);
    EXPECT_EQ(r.unknown_word, c.unknown_word) << c.args[0] << ": " << r.error;
  }
}

TEST(ParseOptions, HelpStopsParsingButNotBeforeAnEarlierError) {
  EXPECT_TRUE(Parse({"--bus", "1", "--help", "--nonsense"}).options.help);
  EXPECT_TRUE(Parse({"-h"}).options.help);
  EXPECT_FALSE(Parse({"--bus", "999", "--help"}).ok());
  // A value is taken as it stands, even when it looks like an option.
  const ParseResult r = Parse({"--source", "--help"});
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(r.options.help);
  EXPECT_EQ(r.options.Text("--source"), "--help");
}

TEST(ParseOptions, FlagsTakeNoValue) {
  const ParseResult r = Parse({"--json", "--bus", "2"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_TRUE(r.options.Has("--json"));
  EXPECT_EQ(r.options.Integer("--bus", 0), 2);
  EXPECT_FALSE(Parse({"--bus", "2"}).options.Has("--json"));
  EXPECT_EQ(Parse({"--json=yes"}).error, "--json takes no value");
  // A flag does not swallow the next word.
  EXPECT_EQ(Parse({"--json", "3"}).error, "unexpected argument '3'");
}

TEST(ParseOptions, TakesAtMostTheAllowedPositionalWordsAnywhere) {
  const ParseResult r = Parse({"--bus", "1", "7", "-o", "out.txt"}, 1);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.positionals, (std::vector<std::string>{"7"}));
  EXPECT_EQ(r.options.Text("-o"), "out.txt");  // a short option's value is not positional
  EXPECT_EQ(Parse({"7", "8"}, 1).error, "unexpected argument '8'");
  EXPECT_TRUE(Parse({}, 1).options.positionals.empty());
}

}  // namespace
}  // namespace kelvox

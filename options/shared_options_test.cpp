#include "options/shared_options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kelvox {
namespace {

// The words between "OPTION " and "]" of a usage, split at '|': "[--ids a|b]" gives a and b.
std::vector<std::string> UsageWords(std::string_view usage, std::string_view option) {
  const size_t start = usage.find(std::string(option) + " ") + option.size() + 1;
  std::istringstream words(std::string(usage.substr(start, usage.find(']') - start)));
  std::vector<std::string> result;
  for (std::string word; std::getline(words, word, '|');) result.push_back(word);
  return result;
}

// The usage words, the message words and the help of an option name the same values, each
// value on a line of its own in the printed help, which fits 80 columns.
TEST(SharedOptions, UsageMessageAndHelpNameTheSameValues) {
  const HelpOption ids{"--ids X", KELVOX_IDS_VALUES_HELP};
  const struct {
    std::string_view usage, option, takes;
    HelpOption help;
    std::vector<std::string> values;
  } cases[] = {
      {KELVOX_SOURCE_USAGE,
       "--source",
       kSourceTakes,
       kSourceHelp,
       {"sysfs", "sysfs:DIR", "port", "cfgmgr", "FILE"}},
      {KELVOX_IDS_USAGE, "--ids", kIdsTakes, ids, {"embedded", "system", "FILE"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UsageWords(c.usage, c.option), c.values) << c.usage;
    std::string takes;  // "a, b or c"
    for (size_t i = 0; i < c.values.size(); ++i) {
      takes += (i == 0 ? "" : i + 1 == c.values.size() ? " or " : ", ") + c.values[i];
    }
    EXPECT_EQ(c.takes, takes);
    const std::string printed = OptionsText(std::span(&c.help, 1));
    for (const std::string& value : c.values) {
      EXPECT_NE(printed.find("\n" + std::string(kOptionTextColumn + 2, ' ') + value + " "),
                std::string::npos)
          << c.option << "'s help has no line for " << value << ":\n"
          << printed;
    }
    EXPECT_TRUE(printed.starts_with("  " + std::string(c.option) + " ")) << printed;
  }
  for (const HelpOption& help : {kSourceHelp, ids, kDomainHelp}) {
    std::istringstream lines{OptionsText(std::span(&help, 1))};
    for (std::string line; std::getline(lines, line);) EXPECT_LE(DisplayWidth(line), 80) << line;
  }
}

}  // namespace
}  // namespace kelvox

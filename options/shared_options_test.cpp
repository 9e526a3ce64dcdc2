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

// The usage words, the message words and the help paragraph of an option name the same
// values, each value on its own line of the help, and the help fits 80 columns.
TEST(SharedOptions, UsageMessageAndHelpNameTheSameValues) {
  const struct {
    std::string_view usage, option, takes, help;
    std::vector<std::string> values;
  } cases[] = {
      {KELVOX_SOURCE_USAGE,
       "--source",
       kSourceTakes,
       kSourceOptionHelp,
       {"sysfs", "port", "cfgmgr", "FILE"}},
      {KELVOX_IDS_USAGE, "--ids", kIdsTakes, kIdsOptionHelp, {"embedded", "system", "FILE"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UsageWords(c.usage, c.option), c.values) << c.usage;
    std::string takes;  // "a, b or c"
    for (size_t i = 0; i < c.values.size(); ++i) {
      takes += (i == 0 ? "" : i + 1 == c.values.size() ? " or " : ", ") + c.values[i];
    }
    EXPECT_EQ(c.takes, takes);
    for (const std::string& value : c.values) {
      EXPECT_NE(c.help.find("\n                   " + value + " "), std::string::npos)
          << c.option << "'s help has no line for " << value;
    }
    EXPECT_TRUE(c.help.starts_with("  " + std::string(c.option) + " ")) << c.help;
  }
  for (const std::string_view help : {kSourceOptionHelp, kIdsOptionHelp, kDomainOptionHelp}) {
    std::istringstream lines{std::string(help)};
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
  }
}

}  // namespace
}  // namespace kelvox

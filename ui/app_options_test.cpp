#include "ui/app_options.h"

#include <gtest/gtest.h>

#include <optional>

#include <sstream>

#include "options/shared_options.h"
#include "testsupport/environment_value.h"

namespace kelvox {
namespace {

TEST(AppOptions, NoArgumentsMeansTheDefaultBackend) {
  const auto parsed = ParseAppOptions({});
  EXPECT_TRUE(parsed.error.empty());
  EXPECT_FALSE(parsed.options.source.has_value());
  EXPECT_FALSE(parsed.options.measure_startup);
}

TEST(AppOptions, SourceTakesTheNextArgumentOrAnEqualsSign) {
  auto parsed = ParseAppOptions({"--source", "capture.txt", "--measure-startup"});
  EXPECT_TRUE(parsed.error.empty());
  EXPECT_EQ(parsed.options.source, "capture.txt");
  EXPECT_TRUE(parsed.options.measure_startup);
  parsed = ParseAppOptions({"--source=sysfs"});
  EXPECT_EQ(parsed.options.source, "sysfs");
}

TEST(AppOptions, AMissingSourceOrAnUnknownArgumentIsAnError) {
  EXPECT_FALSE(ParseAppOptions({"--source"}).error.empty());
  EXPECT_FALSE(ParseAppOptions({"--source="}).error.empty());
  const auto parsed = ParseAppOptions({"-x"});
  EXPECT_NE(parsed.error.find("'-x'"), std::string::npos);
  EXPECT_NE(parsed.error.find("usage"), std::string::npos);
}

TEST(AppOptions, DomainIsHexAndABadOneIsAnError) {
  EXPECT_FALSE(ParseAppOptions({}).options.domain.has_value());
  EXPECT_EQ(ParseAppOptions({"--domain", "c0e3"}).options.domain, 0xC0E3);
  EXPECT_EQ(ParseAppOptions({"--domain=10000"}).options.domain, 0x10000);
  EXPECT_EQ(ParseAppOptions({"--domain", "zz"}).error,
            "kelvox: --domain: domain 'zz' is not a hex number");
  EXPECT_EQ(ParseAppOptions({"--domain", "80000000"}).error,
            "kelvox: --domain: domain '80000000' is out of range (at most 7fffffff)");
  EXPECT_FALSE(ParseAppOptions({"--domain"}).error.empty());
}

TEST(AppOptions, HelpAndVersionAreAskedForWithoutOtherOptions) {
  EXPECT_TRUE(ParseAppOptions({"--help"}).options.help);
  EXPECT_TRUE(ParseAppOptions({"-h"}).options.help);
  EXPECT_FALSE(ParseAppOptions({"--help"}).options.version);
  const auto version = ParseAppOptions({"--version"});
  EXPECT_EQ(version.error, "");
  EXPECT_TRUE(version.options.version);
  EXPECT_FALSE(version.options.help);
  EXPECT_FALSE(ParseAppOptions({}).options.help);
  EXPECT_FALSE(ParseAppOptions({}).options.version);
  // The help names every option the parser takes.
  const std::string help = AppHelp();
  for (const char* option : {"--source", "--ids", "--measure-startup", "--help", "--version"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

// The window reads its words with kelvox-cli's parser, so it takes and refuses the same forms;
// a word it does not take at all is named whole, followed by the usage.
TEST(AppOptions, TakesTheFormsKelvoxCliTakes) {
  const std::string usage = std::string("; ") + AppUsage();
  const struct {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"--source=sysfs", "--ids", "system", "--domain=1", "--measure-startup"}, ""},
      {{"--measure-startup=yes"}, "kelvox: --measure-startup takes no value"},
      {{"--version=1"}, "kelvox: --version takes no value"},
      {{"--frob=2"}, "kelvox: unknown argument '--frob=2'" + usage},
      {{"capture.txt"}, "kelvox: unknown argument 'capture.txt'" + usage},
      {{"--ids", "system", "-"}, "kelvox: unknown argument '-'" + usage},
      // A value is taken as it stands, even when it looks like an option.
      {{"--source", "--help"}, ""},
      // --help ends the words, as it does for every kelvox-cli command.
      {{"--help", "--frob"}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseAppOptions(c.args).error, c.error) << c.args[0];
  }
  EXPECT_EQ(ParseAppOptions({"--source", "--help"}).options.source, "--help");
  EXPECT_TRUE(ParseAppOptions({"--help", "--frob"}).options.help);
}

// The usage and the help write --source and --ids as kelvox-cli does, naming every access
// method, and the help fits 80 columns.
TEST(AppOptions, UsageAndHelpNameEveryAccessMethod) {
  const std::string usage = AppUsage();
  EXPECT_NE(usage.find(KELVOX_SOURCE_USAGE), std::string::npos) << usage;
  EXPECT_NE(usage.find(KELVOX_IDS_USAGE), std::string::npos) << usage;
  const std::string help = AppHelp();
  // The --source help is the one kelvox-cli prints, word for word.
  EXPECT_NE(help.find(OptionsText(std::span(&kSourceHelp, 1))), std::string::npos) << help;
  EXPECT_NE(ParseAppOptions({"--source"}).error.find(kSourceTakes), std::string::npos);
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(DisplayWidth(line), 80) << line;
}

TEST(AppOptions, TheCommandLineBytesReachTheOptionsUnchanged) {
  // A UTF-8 name, and a name with a byte that is no UTF-8 at all, each followed by another
  // argument that must stay in its place.
  const char* utf8[] = {"kelvox", "--source", "日本.txt", "--measure-startup"};
  auto parsed = ParseAppOptions(4, utf8);
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.source, std::string("日本.txt"));
  EXPECT_TRUE(parsed.options.measure_startup);

  const char* invalid[] = {"kelvox", "--source=bus\xFF.txt", "--measure-startup"};
  parsed = ParseAppOptions(3, invalid);
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.source, std::string("bus\xFF.txt"));
  EXPECT_TRUE(parsed.options.measure_startup);

  const char* separate[] = {"kelvox", "--source", "\xFF\xFE", "--measure-startup"};
  parsed = ParseAppOptions(4, separate);
  EXPECT_EQ(parsed.options.source, std::string("\xFF\xFE"));
  EXPECT_TRUE(parsed.options.measure_startup);

  // The program's name is not an argument; an unknown argument is named byte for byte.
  const char* name_only[] = {"--source"};
  EXPECT_EQ(ParseAppOptions(1, name_only).error, "");
  const char* unknown[] = {"kelvox", "\xFFx"};
  EXPECT_NE(ParseAppOptions(2, unknown).error.find("'\xFFx'"), std::string::npos);
}

}  // namespace
}  // namespace kelvox

namespace kelvox {
namespace {

// The window's list: --ids, else KELVOX_IDS, else the embedded one (never the distribution's
// by itself: the window keeps the original names unless asked).
TEST(AppOptions, TheIdsOptionElseTheEnvironmentChoosesTheList) {
  using testing::EnvironmentValue;
  AppOptions options;
  {
    const EnvironmentValue none("KELVOX_IDS", std::nullopt);
    EXPECT_EQ(IdsToUse(options), std::nullopt);
  }
  {
    const EnvironmentValue empty("KELVOX_IDS", "");
    EXPECT_EQ(IdsToUse(options), std::nullopt);
  }
  const EnvironmentValue system("KELVOX_IDS", "system");
  EXPECT_EQ(IdsToUse(options), "system");
  options.ids = "embedded";
  EXPECT_EQ(IdsToUse(options), "embedded");
}

}  // namespace
}  // namespace kelvox

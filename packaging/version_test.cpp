// The one version reaches every place that shows it: kelvox-cli --version and the about box.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "kelvox/version.h"
#include "ui/texts.h"

namespace kelvox {
namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result Invoke(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = cli::RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(Version, CliPrintsTheProjectVersionAlone) {
  const Result result = Invoke({"--version"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, std::string("kelvox-cli ") + KELVOX_VERSION + "\n");
  EXPECT_EQ(result.err, "");
  // Three dotted numbers, as Debian's version field and help2man read them.
  const std::string version = KELVOX_VERSION;
  EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 2) << version;
  EXPECT_EQ(version.find_first_not_of("0123456789."), std::string::npos) << version;
}

TEST(Version, CliVersionTakesNoArguments) {
  const Result result = Invoke({"--version", "scan"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "kelvox-cli: --version takes no arguments\n");
}

TEST(Version, TheAboutBoxShowsTheProjectVersion) {
  // The about box keeps its own spelling of the version: "V" and the minor number in two
  // digits ("Kelvox V1.06" for 1.6.0).
  EXPECT_EQ(std::string(texts::kVersion), std::string("Kelvox V") + KELVOX_ABOUT_VERSION);
  EXPECT_EQ(std::string(texts::kVersion), "Kelvox V1.06");
}

}  // namespace
}  // namespace kelvox

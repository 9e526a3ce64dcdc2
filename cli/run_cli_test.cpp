#include "cli/run_cli.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/commands.h"

namespace kelvox::cli {
namespace {

struct Result {
  int status;
  std::string out, err;
};

Result Invoke(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(RunCli, HelpInEveryFormGoesToStandardOutput) {
  const Result dashes = Invoke({"--help"});
  EXPECT_EQ(dashes.status, 0);
  EXPECT_EQ(dashes.err, "");
  EXPECT_EQ(Invoke({"-h"}).out, dashes.out);
  EXPECT_EQ(Invoke({"help"}).out, dashes.out);
  // The general help covers the exit statuses and each command's own help.
  EXPECT_NE(dashes.out.find("Exit status"), std::string::npos);
  EXPECT_NE(dashes.out.find("\"kelvox-cli: \""), std::string::npos);
  for (const Command& command : Commands()) {
    EXPECT_NE(dashes.out.find(command.help()), std::string::npos) << command.name;
    const Result one = Invoke({"help", std::string(command.name)});
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out, command.help());
    EXPECT_EQ(Invoke({std::string(command.name), "--help"}).out, command.help());
  }
}

TEST(RunCli, UsageErrorsAreOneLineOnStandardErrorWithStatusTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {}, {"scna"}, {"--bus", "0"}, {"help", "nosuch"}, {"help", "scan", "scan"}};
  for (const auto& args : bad) {
    const Result r = Invoke(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with("kelvox-cli: ")) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
  EXPECT_EQ(Invoke({"scna"}).err, "kelvox-cli: unknown command 'scna' (try 'kelvox-cli --help')\n");
}

TEST(RunCli, DispatchesOnTheFirstWordAndPassesTheRestOn) {
  // An option error from scan proves scan got the words after its name, and only those.
  const Result r = Invoke({"scan", "--function", "9"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "kelvox-cli: scan: --function: 9 is outside 0 to 7\n");
  EXPECT_NE(FindCommand("scan"), nullptr);
  EXPECT_EQ(FindCommand("sca"), nullptr);
}

}  // namespace
}  // namespace kelvox::cli

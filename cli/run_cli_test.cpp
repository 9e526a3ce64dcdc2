#include "cli/run_cli.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/commands.h"
#include "cli/help_text.h"
#include "cli/testing/command_run.h"
#include "options/help_document.h"

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

// The overview fits one screen and names every command; each command's whole help is the same
// in every form that asks for it, and names every option the command takes.
TEST(RunCli, HelpInEveryFormGoesToStandardOutput) {
  const Result dashes = Invoke({"--help"});
  EXPECT_EQ(dashes.status, 0);
  EXPECT_EQ(dashes.err, "");
  EXPECT_EQ(Invoke({"-h"}).out, dashes.out);
  EXPECT_EQ(Invoke({"help"}).out, dashes.out);
  const std::vector<std::string> overview = testing::Lines(dashes.out);
  EXPECT_LE(overview.size(), 40u) << dashes.out;
  for (const std::string& line : overview) EXPECT_LE(DisplayWidth(line), 80) << line;
  for (const Command& command : Commands()) {
    EXPECT_NE(dashes.out.find("\n  " + std::string(command.name) + " "), std::string::npos)
        << command.name;
    const Result one = Invoke({"help", std::string(command.name)});
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out, CommandHelpText(command));
    EXPECT_EQ(Invoke({std::string(command.name), "--help"}).out, one.out);
    EXPECT_EQ(Invoke({std::string(command.name), "-h"}).out, one.out);
    for (const OptionSpec& option : command.options()) {
      EXPECT_NE(one.out.find("\n  " + std::string(option.name)), std::string::npos)
          << command.name << " takes " << option.name << " but its help does not list it";
    }
    for (const std::string& line : testing::Lines(one.out)) {
      EXPECT_LE(DisplayWidth(line), 80) << command.name << ": " << line;
    }
  }
}

TEST(RunCli, EveryFormOfTheVersionPrintsIt) {
  const Result version = Invoke({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.starts_with("kelvox-cli ")) << version.out;
  for (const char* form : {"-V", "version"}) {
    EXPECT_EQ(Invoke({form}).out, version.out) << form;
    EXPECT_EQ(Invoke({form, "x"}).status, 2) << form;
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

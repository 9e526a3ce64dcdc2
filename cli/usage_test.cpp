// The usage lines of the commands' help against what their parsers take.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/help_text.h"
#include "options/shared_options.h"

namespace kelvox::cli {
namespace {

// Whether `command` takes `option`. The words after it are an option no command takes, twice:
// whether the option takes a value or not, the parser stops at one of them before anything is
// opened or written, and names the option itself only when it does not take it.
bool Takes(const Command& command, const std::string& option) {
  const std::vector<std::string> args = {option, "--no-such-option", "--no-such-option"};
  std::ostringstream out, err;
  EXPECT_EQ(command.run(args, out, err), kExitUsage) << command.name << " " << option;
  return err.str().find("unknown option '" + option + "'") == std::string::npos;
}

// A command's help lists an option exactly when the command takes it: every option word its
// usage line and its options list show is one the parser takes, so the help never offers what
// is refused, and the shared options it takes are those its usage names.
TEST(CommandUsage, NamesOnlyTheOptionsTheCommandTakes) {
  for (const Command& command : Commands()) {
    const std::string usage = CommandUsage(command);
    std::istringstream words(usage);
    for (std::string word; words >> word;) {
      const size_t dash = word.find('-');
      if (dash == std::string::npos || (dash > 0 && word[dash - 1] != '[')) continue;
      std::string option = word.substr(dash);
      option = option.substr(0, option.find_first_of("]| "));
      EXPECT_TRUE(Takes(command, option)) << command.name << " " << option << ":\n" << usage;
    }
    for (const OptionSpec& option : command.options()) {
      EXPECT_NE(usage.find(std::string(option.name)), std::string::npos)
          << command.name << " takes " << option.name << ", its usage does not show it";
    }
  }
}

}  // namespace
}  // namespace kelvox::cli

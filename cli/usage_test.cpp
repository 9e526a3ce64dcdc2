// The usage lines of the commands' help against what their parsers take.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "options/shared_options.h"

namespace kelvox::cli {
namespace {

// Whether `command` takes `option`: given without a value, it is refused as a value that is
// missing rather than as an option that is unknown. Nothing is opened: the words fail first.
bool Takes(const Command& command, const std::string& option) {
  const std::vector<std::string> args = {option};
  std::ostringstream out, err;
  EXPECT_EQ(command.run(args, out, err), kExitUsage) << command.name << " " << option;
  return err.str().find("unknown option") == std::string::npos;
}

// A command that takes --source or --ids writes it in its usage with the words the window and
// every other command write, so each names every access method; one that does not leaves it out.
TEST(CommandUsage, WritesTheSharedOptionsTheCommandTakes) {
  const struct {
    std::string option;
    std::string usage;
  } shared[] = {{"--source", KELVOX_SOURCE_USAGE}, {"--ids", KELVOX_IDS_USAGE}};
  for (const Command& command : Commands()) {
    const std::string help = command.help();
    const std::string usage = help.substr(0, help.find("\n\n"));
    for (const auto& s : shared) {
      EXPECT_EQ(usage.find(s.usage) != std::string::npos, Takes(command, s.option))
          << command.name << " " << s.option << ":\n"
          << usage;
    }
  }
}

}  // namespace
}  // namespace kelvox::cli

#include "cli/commands.h"

#include <array>

#include "cli/scan_command.h"

namespace kelvox::cli {

namespace {
constexpr std::array kCommands = {
    Command{"scan", kScanSummary, ScanHelp, ScanCommand},
};
}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(std::string_view name) {
  for (const Command& command : kCommands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

}  // namespace kelvox::cli

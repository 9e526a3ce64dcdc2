#include "cli/commands.h"

#include <array>

#include "cli/capture_command.h"
#include "cli/details_command.h"
#include "cli/diff_command.h"
#include "cli/find_command.h"
#include "cli/health_command.h"
#include "cli/list_command.h"
#include "cli/scan_command.h"
#include "cli/tree_command.h"

namespace kelvox::cli {

namespace {
constexpr std::array kCommands = {
    Command{"scan", kScanSummary, ScanHelp, ScanCommand, ScanOptions},
    Command{"list", kListSummary, ListHelp, ListCommand, ListOptions},
    Command{"details", kDetailsSummary, DetailsHelp, DetailsCommand, DetailsOptions},
    Command{"find", kFindSummary, FindHelp, FindCommand, FindOptions},
    Command{"capture", kCaptureSummary, CaptureHelp, CaptureCommand, CaptureOptions},
    Command{"tree", kTreeSummary, TreeHelp, TreeCommand, TreeOptions},
    Command{"health", kHealthSummary, HealthHelp, HealthCommand, HealthOptions},
    Command{"diff", kDiffSummary, DiffHelp, DiffCommand, DiffOptions},
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

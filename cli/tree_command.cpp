#include "cli/tree_command.h"

#include <array>
#include <ostream>

#include "cli/bus_tree.h"
#include "cli/command.h"
#include "cli/ids_option.h"
#include "cli/json_output.h"
#include "options/args.h"

namespace kelvox::cli {

namespace {
constexpr std::array kTreeOptions = {
    OptionSpec{"--source", OptionSpec::Kind::kText},
    kIdsOption,
    OptionSpec{"--json", OptionSpec::Kind::kFlag},
};

constexpr char kTreeHelpText[] =
    "kelvox-cli tree " KELVOX_SOURCE_USAGE " " KELVOX_IDS_USAGE
    "\n"
    "                [--json]\n"
    "\n"
    "  Prints the present functions (those `list` shows) as a tree under the host\n"
    "  bridge: each function under the PCI-PCI or CardBus bridge it hangs from, one line\n"
    "  each, the line of `list` followed by the driver in brackets ([ドライバなし] when\n"
    "  none is bound; nothing where the access method does not know). The bridge is the\n"
    "  one the system names (sysfs, the device manager, or a capture's facts) when it is\n"
    "  a listed PCI-PCI or CardBus bridge of the function's own domain; a function whose\n"
    "  named parent is not one is drawn on top. Where the system names none, the bridge\n"
    "  is the one whose secondary bus number is the function's bus and above the\n"
    "  bridge's own (a register reading 0 names no bus). Each PCI domain has its own host\n"
    "  bridge: with functions outside domain 0000, each domain is a tree of its own. A\n"
    "  parent that would close a loop is ignored, and a function deeper than 256 levels\n"
    "  (more than a domain's buses allow) is drawn at level 256.\n"
    "\n"
    "  --json         print one JSON document instead: \"functions\" holds the top-level\n"
    "                 functions, each as in `list --json` plus \"driver\" and \"children\"\n";
}  // namespace

std::string TreeHelp() {
  return std::string(kTreeHelpText) + std::string(kIdsOptionHelp) + std::string(kSourceOptionHelp);
}

int RunTree(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kTreeOptions);
  if (!parsed.ok()) return Fail(err, "tree: " + parsed.error);
  if (parsed.options.help) {
    out << TreeHelp();
    return kExitOk;
  }
  if (const std::string error = UseIdsOption(parsed.options); !error.empty()) {
    return Fail(err, "tree: " + error);
  }
  const OpenedAccess opened = open(parsed.options.Text("--source"));
  if (!opened.access) return Fail(err, opened.error);

  const FunctionListing listing = ListEveryDomain(*opened.access, std::nullopt);
  for (const std::string& skipped : listing.skipped) Warn(err, "tree: warning: " + skipped);
  const std::vector<TreeNode> tree = BuildBusTree(*opened.access, listing.present);
  if (!parsed.options.Has("--json")) {
    WriteText(out, BusTreeText(tree));
    return kExitOk;
  }
  Json document = JsonDocument("tree");
  document["backend"] = opened.access->Name();
  document["functions"] = BusTreeJson(tree);
  out << JsonText(document);
  return kExitOk;
}

int TreeCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunTree(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

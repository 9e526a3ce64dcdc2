#include "cli/tree_command.h"

#include <array>
#include <ostream>

#include "cli/bus_tree.h"
#include "cli/command.h"
#include "cli/common_options.h"
#include "cli/help_text.h"
#include "cli/ids_option.h"
#include "cli/json_output.h"
#include "cli/selector.h"
#include "options/args.h"

namespace kelvox::cli {

namespace {

constexpr std::array kTreeSpecs = {
    kSlotSpec, kIdSpec, kDomainFlagSpec, kSourceSpec, kIdsSpec, kJsonSpec,
};

constexpr CommandHelp kTreeHelp{
    "",
    "Prints the present functions (those `list` shows) as a tree under the host bridge: each "
    "function under the PCI-PCI or CardBus bridge it hangs from, one line each, the line of "
    "`list` followed by the driver in brackets ([ドライバなし] when none is bound; nothing "
    "where the access method does not know).\n"
    "\n"
    "The bridge is the one the system names (sysfs, the device manager, or a capture's facts) "
    "when it is a listed PCI-PCI or CardBus bridge of the function's own domain; a function "
    "whose named parent is not one is drawn on top. Where the system names none, the bridge "
    "is the one whose secondary bus number is the function's bus and above the bridge's own "
    "(a register reading 0 names no bus). Each PCI domain has its own host bridge: with "
    "functions outside domain 0000, each domain is a tree of its own. A parent that would "
    "close a loop is ignored, and a function deeper than 256 levels is drawn at level 256. On "
    "sysfs a function asleep in D3cold is drawn from what the kernel keeps of it, not woken.\n"
    "\n"
    "With -s or -d, the tree keeps the functions they choose and the bridges above them. With "
    "--json, \"functions\" holds the top-level functions, each as in `list --json` plus "
    "\"driver\" and \"children\".",
    {},
    kSelectOptions | kDomainFlag | kSourceOption | kIdsOption | kJsonOption,
};

}  // namespace

const CommandHelp& TreeHelp() { return kTreeHelp; }
std::span<const OptionSpec> TreeOptions() { return kTreeSpecs; }

int RunTree(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kTreeSpecs);
  if (!parsed.ok()) return Fail(err, "tree: " + parsed.error);
  if (parsed.options.help) {
    out << CommandHelpTextOf("tree");
    return kExitOk;
  }
  Selector selector;
  if (const std::string error = ReadSelection(parsed.options, selector); !error.empty()) {
    return Fail(err, "tree: " + error);
  }
  if (const std::string error = UseIdsOption(parsed.options, err); !error.empty()) {
    return Fail(err, "tree: " + error);
  }
  const std::optional<std::string> source = parsed.options.Text("--source");
  const OpenedAccess opened = open(source);
  if (!opened.access) return Fail(err, OpenFailure("tree", source, opened));

  const FunctionListing listing = ListEveryDomain(*opened.access, std::nullopt);
  for (const std::string& skipped : listing.skipped) Warn(err, "tree: warning: " + skipped);
  std::vector<TreeNode> tree =
      BuildBusTree(*opened.access, listing.present, parsed.options.Has("-D"));
  WarnReadProblem("tree", *opened.access, err);
  if (selector.Given()) {
    const bool any = KeepChosen(tree, [&selector](const ListedFunction& function) {
      return selector.Matches(function.at, function.reg00, function.reg08);
    });
    if (!any) {
      Warn(err, "tree: " + NothingMatches(selector));
      return kExitNothing;
    }
  }
  if (!parsed.options.Has("--json")) {
    WriteText(out, BusTreeText(tree));
    return kExitOk;
  }
  Json document = JsonDocument("tree");
  document["backend"] = opened.access->Name();
  document["id_list"] = IdListJson();
  document["functions"] = BusTreeJson(tree);
  out << JsonText(document);
  return kExitOk;
}

int TreeCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunTree(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

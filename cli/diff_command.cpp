#include "cli/diff_command.h"

#include <array>
#include <ostream>

#include "cli/bus_snapshot.h"
#include "cli/common_options.h"
#include "cli/help_text.h"
#include "cli/json_output.h"
#include "options/args.h"

namespace kelvox::cli {

namespace {

constexpr std::array kDiffSpecs = {kJsonSpec};

constexpr CommandHelp kDiffHelp{
    "A B",
    "Compares two buses, each a capture file (as `capture` or lspci's hex dump writes it) or a "
    "live source (sysfs, sysfs:DIR): the functions only in A (\"-\"), only in B (\"+\"), and "
    "per function in both (\"~\") each of these that differs: its IDs, class, revision, "
    "subsystem, base address sizes, link now and at most, driver, IOMMU group and capability "
    "list. A field one side does not know (a capture without facts) is not compared. Ends "
    "with a summary line; exit status 0 when they are the same, 1 when they differ, 2 on bad "
    "input.\n"
    "\n"
    "A capture taken on a known-good day is the expected state: `kelvox-cli diff golden.txt "
    "sysfs` after a BIOS update or a repair names what changed.\n"
    "\n"
    "With --json: \"removed\" and \"added\" (arrays of {\"address\", \"what\"}), \"changed\" "
    "(an array of {\"address\", \"field\", \"a\", \"b\"}) and \"differ\".",
    {},
    kJsonOption,
};

const char* KindSign(FunctionDifference::Kind kind) {
  return kind == FunctionDifference::Kind::kRemoved ? "-"
         : kind == FunctionDifference::Kind::kAdded ? "+"
                                                    : "~";
}

}  // namespace

const CommandHelp& DiffHelp() { return kDiffHelp; }
std::span<const OptionSpec> DiffOptions() { return kDiffSpecs; }

int RunDiff(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kDiffSpecs, 2);
  if (!parsed.ok()) return Fail(err, "diff: " + parsed.error);
  if (parsed.options.help) {
    out << CommandHelpTextOf("diff");
    return kExitOk;
  }
  if (parsed.options.positionals.size() != 2) {
    return Fail(err, "diff: needs two sources, A and B (a capture file, sysfs or sysfs:DIR)");
  }
  BusSnapshot buses[2];
  for (int side = 0; side < 2; ++side) {
    const std::string& source = parsed.options.positionals[static_cast<size_t>(side)];
    const OpenedAccess opened = open(source);
    if (!opened.access) return Fail(err, "diff: " + opened.error);
    // Port I/O could learn the sizes only by writing all ones into the devices' registers.
    if (!opened.access->SizesWithoutWriting()) {
      return Fail(err, "diff: " + source +
                           ": refused: sizing its base address registers would write to the "
                           "devices (use sysfs or a capture)");
    }
    buses[side] = TakeSnapshot(*opened.access);
  }
  const std::vector<FunctionDifference> differences = CompareSnapshots(buses[0], buses[1]);
  size_t removed = 0, added = 0, changed = 0;
  for (const FunctionDifference& d : differences) {
    (d.kind == FunctionDifference::Kind::kRemoved ? removed
     : d.kind == FunctionDifference::Kind::kAdded ? added
                                                  : changed)++;
  }
  const int status = differences.empty() ? kExitOk : kExitNothing;
  if (!parsed.options.Has("--json")) {
    std::string text;
    for (const FunctionDifference& d : differences) {
      const std::string address = AddressText(d.at);
      if (d.kind != FunctionDifference::Kind::kChanged) {
        text +=
            std::string(KindSign(d.kind)) + " " + address + " " + d.what +
            (d.kind == FunctionDifference::Kind::kRemoved ? " (only in A)\n" : " (only in B)\n");
        continue;
      }
      for (const FieldChange& change : d.changes) {
        text += "~ " + address + " " + change.field + ": " + change.a + " -> " + change.b + "\n";
      }
    }
    text += differences.empty()
                ? std::string("diff: no differences\n")
                : "diff: " + std::to_string(removed) + " removed, " + std::to_string(added) +
                      " added, " + std::to_string(changed) + " changed\n";
    WriteText(out, text);
    return status;
  }
  Json document = JsonDocument("diff");
  Json gone = Json::array(), come = Json::array(), fields = Json::array();
  for (const FunctionDifference& d : differences) {
    const std::string address = AddressText(d.at);
    if (d.kind == FunctionDifference::Kind::kRemoved)
      gone.push_back({{"address", address}, {"what", d.what}});
    if (d.kind == FunctionDifference::Kind::kAdded)
      come.push_back({{"address", address}, {"what", d.what}});
    for (const FieldChange& change : d.changes) {
      fields.push_back(
          {{"address", address}, {"field", change.field}, {"a", change.a}, {"b", change.b}});
    }
  }
  document["removed"] = std::move(gone);
  document["added"] = std::move(come);
  document["changed"] = std::move(fields);
  document["differ"] = !differences.empty();
  out << JsonText(document);
  return status;
}

int DiffCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunDiff(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

#include "cli/scan_command.h"

#include <array>
#include <ostream>

#include "cli/common_options.h"
#include "cli/domain_option.h"
#include "cli/help_text.h"
#include "cli/json_output.h"
#include "cli/scan_json.h"
#include "cli/selector.h"
#include "config/recording_access.h"
#include "scan/bus_scan.h"
#include "scan/device_row.h"

namespace kelvox::cli {

namespace {

constexpr std::array kScanSpecs = {
    OptionSpec{"--bus", OptionSpec::Kind::kInteger, 0, 255, {}, true},
    OptionSpec{"--function", OptionSpec::Kind::kInteger, 0, 7, {}, true},
    OptionSpec{"--header", OptionSpec::Kind::kFlag},
    kSlotSpec,
    kIdSpec,
    kDomainSpec,
    kSourceSpec,
    kJsonSpec,
};

constexpr std::array kScanOwnHelp = {
    HelpOption{"--bus N",
               "the bus: decimal 0 to 255 (a bare 10 is ten, as it always was), or "
               "hexadecimal with 0x or a digit a-f (0x1a, 1a); default 0"},
    HelpOption{"--function N", "the function, 0 to 7; default 0"},
    HelpOption{"--header", "print a line naming the columns first"},
};

constexpr CommandHelp kScanHelp{
    "[--bus N] [--function N] [--header]",
    "Prints one line for each device number 0 to 31 of the bus and function, present or "
    "not, as the window lists them: number, vendor ID, device ID, command, status, revision, "
    "class code, header type (lower-case hexadecimal) and the Japanese class comment. An "
    "absent device reads all ones: \"ffff\" ... \"ff\" and the comment \"？？？？\".\n"
    "\n"
    "With -s, its bus, function and domain choose the bus and function to scan (instead of "
    "--bus, --function and --domain; a part it leaves open keeps their default) and its "
    "device the one row to print; with -d, only the rows of present functions with those IDs "
    "are printed.",
    kScanOwnHelp,
    kSelectOptions | kDomainOption | kSourceOption | kJsonOption,
};

// The column names --header prints, above the row's fields.
constexpr char kScanHeader[] = "No VEND   DEVI CMND STAT RV   CLASS  HT  COMMENT\n";

}  // namespace

const CommandHelp& ScanHelp() { return kScanHelp; }
std::span<const OptionSpec> ScanOptions() { return kScanSpecs; }

int RunScan(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kScanSpecs);
  if (!parsed.ok()) return Fail(err, "scan: " + parsed.error);
  if (parsed.options.help) {
    out << CommandHelpTextOf("scan");
    return kExitOk;
  }
  Selector selector;
  if (const std::string error = ReadSelection(parsed.options, selector); !error.empty()) {
    return Fail(err, "scan: " + error);
  }
  const std::optional<std::string> source = parsed.options.Text("--source");
  const OpenedAccess opened = open(source);
  if (!opened.access) return Fail(err, OpenFailure("scan", source, opened));
  if (const std::string error = UseDomainOption(parsed.options, *opened.access, selector.domain);
      !error.empty()) {
    return Fail(err, "scan: " + error);
  }

  const int bus = selector.bus.value_or(static_cast<int>(parsed.options.Integer("--bus", 0)));
  const int function =
      selector.function.value_or(static_cast<int>(parsed.options.Integer("--function", 0)));
  const int domain = opened.access->SelectedDomain();
  // The rows -s and -d choose: the domain, bus and function are those scanned already.
  std::array<bool, kDevicesPerBus> chosen{};
  bool any = false;
  for (int device = 0; device < kDevicesPerBus; ++device) {
    if (selector.Given()) {
      RecordingAccess reads(*opened.access);
      const uint32_t reg00 = reads.Read(bus, device, function, 0x00);
      const uint32_t reg08 =
          (reg00 & 0xFFFF) == 0xFFFF ? kAllOnes : reads.Read(bus, device, function, 0x08);
      const bool present = (reg00 & 0xFFFF) != 0xFFFF;
      const bool by_ids = !selector.id_text.empty();
      chosen[device] =
          selector.Matches({bus, device, function, domain}, reg00, reg08) && (present || !by_ids);
    } else {
      chosen[device] = true;
    }
    any = any || chosen[device];
  }
  WarnReadProblem("scan", *opened.access, err);
  if (!any) {
    Warn(err, "scan: " + NothingMatches(selector));
    return kExitNothing;
  }
  if (!parsed.options.Has("--json")) {
    // The rows are complete before anything is printed, so a failure leaves stdout empty.
    std::string text = parsed.options.Has("--header") ? kScanHeader : "";
    for (const DeviceRow& row : ScanBus(*opened.access, bus, function)) {
      if (chosen[row.device]) text += row.text + '\n';
    }
    WriteText(out, text);
    return kExitOk;
  }
  Json document = JsonDocument("scan");
  document["backend"] = opened.access->Name();
  document["domain"] = domain;
  document["bus"] = bus;
  document["function"] = function;
  Json rows = Json::array();
  for (Json& row : ScanJson(*opened.access, bus, function)) {
    if (chosen[row["device"].get<int>()]) rows.push_back(std::move(row));
  }
  document["rows"] = std::move(rows);
  out << JsonText(document);
  return kExitOk;
}

int ScanCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunScan(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

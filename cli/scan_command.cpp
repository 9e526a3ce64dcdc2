#include "cli/scan_command.h"

#include <array>
#include <ostream>
#include <sstream>

#include "cli/command.h"
#include "cli/domain_option.h"
#include "cli/json_output.h"
#include "cli/scan_json.h"
#include "options/args.h"
#include "scan/bus_scan.h"

namespace kelvox::cli {

namespace {
constexpr std::array kScanOptions = {
    OptionSpec{"--bus", OptionSpec::Kind::kInteger, 0, 255},
    OptionSpec{"--function", OptionSpec::Kind::kInteger, 0, 7},
    kDomainOption,
    OptionSpec{"--source", OptionSpec::Kind::kText},
    OptionSpec{"--json", OptionSpec::Kind::kFlag},
};

constexpr char kScanHelpText[] =
    "kelvox-cli scan [--bus N] [--function N] [--domain N]\n"
    "                " KELVOX_SOURCE_USAGE
    " [--json]\n"
    "\n"
    "  Prints one line for each device number 0 to 31 of the bus and function, present\n"
    "  or not, in UTF-8: number, vendor ID, device ID, command, status, revision, class\n"
    "  code, header type (lower-case hexadecimal) and the Japanese class comment. An\n"
    "  absent device reads all ones: \"ffff\" ... \"ff\" and the comment \"？？？？\".\n"
    "\n"
    "  --bus N        bus number, decimal 0 to 255 (default 0)\n"
    "  --function N   function number, decimal 0 to 7 (default 0)\n"
    "  --json         print one JSON document instead (schema in the README)\n";
}  // namespace

std::string ScanHelp() {
  return std::string(kScanHelpText) + std::string(kDomainOptionHelp) +
         std::string(kSourceOptionHelp);
}

int RunScan(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kScanOptions);
  if (!parsed.ok()) return Fail(err, "scan: " + parsed.error);
  if (parsed.options.help) {
    out << ScanHelp();
    return kExitOk;
  }
  const OpenedAccess opened = open(parsed.options.Text("--source"));
  if (!opened.access) return Fail(err, opened.error);
  if (const std::string error = UseDomainOption(parsed.options, *opened.access); !error.empty()) {
    return Fail(err, "scan: " + error);
  }

  const auto bus = static_cast<int>(parsed.options.Integer("--bus", 0));
  const auto function = static_cast<int>(parsed.options.Integer("--function", 0));
  if (!parsed.options.Has("--json")) {
    // The rows are complete before anything is printed, so a failure leaves stdout empty.
    std::ostringstream text;
    for (const DeviceRow& row : ScanBus(*opened.access, bus, function)) text << row.text << '\n';
    WriteText(out, text.str());
    return kExitOk;
  }
  Json document = JsonDocument("scan");
  document["backend"] = opened.access->Name();
  document["domain"] = opened.access->SelectedDomain();
  document["bus"] = bus;
  document["function"] = function;
  document["rows"] = ScanJson(*opened.access, bus, function);
  out << JsonText(document);
  return kExitOk;
}

int ScanCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunScan(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

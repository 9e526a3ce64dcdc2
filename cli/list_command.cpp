#include "cli/list_command.h"

#include <array>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/command.h"
#include "cli/function_list.h"
#include "cli/ids_option.h"
#include "cli/json_output.h"
#include "options/args.h"

namespace kelvox::cli {

namespace {
constexpr std::array kListOptions = {
    OptionSpec{"--bus", OptionSpec::Kind::kInteger, 0, 255},
    OptionSpec{"--vendor", OptionSpec::Kind::kText},
    OptionSpec{"--class", OptionSpec::Kind::kText},
    OptionSpec{"--source", OptionSpec::Kind::kText},
    kIdsOption,
    OptionSpec{"--json", OptionSpec::Kind::kFlag},
};

constexpr char kListHelpText[] =
    "kelvox-cli list [--bus N] [--vendor XXXX] [--class HEX]\n"
    "                " KELVOX_SOURCE_USAGE " " KELVOX_IDS_USAGE
    "\n"
    "                [--json]\n"
    "\n"
    "  Prints one line per present function of every PCI domain, buses 0 to 255,\n"
    "  functions 0 to 7, in domain, bus, device, function order:\n"
    "    BB:DD.F VVVV:DDDD CCCCCC  VENDOR | DEVICE | CLASS\n"
    "  (DDDD:BB:DD.F for every function once one is outside domain 0000, as lspci\n"
    "  writes them; a function the system cannot place in a bus comes last, its own\n"
    "  name, such as a Windows device instance ID, in place of the address)\n"
    "  address, vendor and device IDs, class code (lower-case hexadecimal), then the\n"
    "  vendor's full name, the chip name and description, and the class names (base,\n"
    "  sub-class, programming interface, \" / \" between) from the PCI ID list (--ids);\n"
    "  \"-\" where the list has no name; with a list other than the embedded one, the\n"
    "  subsystem's name after another \" | \" when the list has one. On sysfs the\n"
    "  functions are the folders of /sys/bus/pci/devices; on a captured\n"
    "  file, those it holds; on port I/O every device is probed at function 0, and its\n"
    "  functions 1 to 7 only when function 0 is present and multi-function.\n"
    "\n"
    "  --bus N        list bus N only, decimal 0 to 255\n"
    "  --vendor XXXX  list functions with this vendor ID only (4 hexadecimal digits)\n"
    "  --class HEX    list functions whose class code starts with these 2, 4 or 6\n"
    "                 hexadecimal digits only\n"
    "  --json         print one JSON document instead (schema in the README)\n";
}  // namespace

std::string ListHelp() {
  return std::string(kListHelpText) + std::string(kIdsOptionHelp) + std::string(kSourceOptionHelp);
}

int RunList(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kListOptions);
  if (!parsed.ok()) return Fail(err, "list: " + parsed.error);
  if (parsed.options.help) {
    out << ListHelp();
    return kExitOk;
  }
  ListFilter filter;
  if (const auto vendor = parsed.options.Text("--vendor");
      vendor && !ParseVendorFilter(*vendor, filter)) {
    return Fail(err, "list: --vendor: '" + *vendor + "' is not 4 hexadecimal digits");
  }
  if (const auto class_code = parsed.options.Text("--class");
      class_code && !ParseClassFilter(*class_code, filter)) {
    return Fail(err, "list: --class: '" + *class_code + "' is not 2, 4 or 6 hexadecimal digits");
  }
  if (const std::string error = UseIdsOption(parsed.options); !error.empty()) {
    return Fail(err, "list: " + error);
  }
  const OpenedAccess opened = open(parsed.options.Text("--source"));
  if (!opened.access) return Fail(err, opened.error);

  std::optional<int> bus;
  if (parsed.options.Has("--bus")) bus = static_cast<int>(parsed.options.Integer("--bus", 0));
  const bool json = parsed.options.Has("--json");
  std::string text;
  Json functions = Json::array();
  const FunctionListing listing = ListEveryDomain(*opened.access, bus);
  for (const std::string& skipped : listing.skipped) Warn(err, "list: warning: " + skipped);
  // As lspci does: every address with its domain as soon as one function is outside 0000.
  const bool with_domains = NeedsDomains(listing.present);
  std::vector<ListedFunction> listed;
  for (const FunctionLocation& at : listing.present) {
    listed.push_back(DescribeFunction(*opened.access, at, with_domains));
  }
  for (const UnplacedFunction& unplaced : listing.unplaced) {
    listed.push_back(DescribeUnplaced(unplaced));
  }
  for (const ListedFunction& function : listed) {
    if (!filter.Accepts(function)) continue;
    if (json) {
      functions.push_back(ListedFunctionJson(function));
    } else {
      text += function.text;
      text += '\n';
    }
  }
  if (!json) {
    WriteText(out, text);
    return kExitOk;
  }
  Json document = JsonDocument("list");
  document["backend"] = opened.access->Name();
  document["functions"] = std::move(functions);
  out << JsonText(document);
  return kExitOk;
}

int ListCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunList(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

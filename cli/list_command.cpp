#include "cli/list_command.h"

#include <array>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/command.h"
#include "cli/common_options.h"
#include "cli/function_list.h"
#include "cli/help_text.h"
#include "cli/ids_option.h"
#include "cli/json_output.h"
#include "cli/selector.h"
#include "options/args.h"

namespace kelvox::cli {

namespace {

constexpr std::array kListSpecs = {
    OptionSpec{"--bus", OptionSpec::Kind::kInteger, 0, 255, {}, true},
    OptionSpec{"--vendor", OptionSpec::Kind::kText},
    OptionSpec{"--class", OptionSpec::Kind::kText},
    kSlotSpec,
    kIdSpec,
    kDomainFlagSpec,
    kSourceSpec,
    kIdsSpec,
    kJsonSpec,
};

constexpr std::array kListOwnHelp = {
    HelpOption{"--bus N",
               "only bus N: decimal 0 to 255 (a bare 10 is ten), or hexadecimal "
               "with 0x or a digit a-f (0x1a, 1a)"},
    HelpOption{"--vendor XXXX", "only functions with this vendor ID (4 hexadecimal digits)"},
    HelpOption{"--class HEX",
               "only functions whose class code starts with these 2, 4 or 6 "
               "hexadecimal digits"},
};

constexpr CommandHelp kListHelp{
    "[--bus N] [--vendor XXXX] [--class HEX]",
    "Prints one line per present function of every PCI domain, buses 0 to 255, functions 0 "
    "to 7, in domain, bus, device, function order:\n"
    "\n"
    "  BB:DD.F VVVV:DDDD CCCCCC  VENDOR | DEVICE | CLASS\n"
    "\n"
    "the address (DDDD:BB:DD.F with -D, and for every function once one is outside domain "
    "0000, as lspci writes them), the vendor and device IDs and the class code in lower-case "
    "hexadecimal, then the names from the PCI ID list (--ids): the vendor as the list writes "
    "it, the chip name and description, and the class names (base class, sub-class, "
    "programming interface, \" / \" between); \"-\" where the list has no name. With a list "
    "that names subsystems (a pci.ids file), the subsystem's name follows after another "
    "\" | \" when the list has one. A function the system cannot place in a bus (a Windows "
    "device without a location) comes last, its own name in place of the address.\n"
    "\n"
    "On sysfs the functions are the folders of /sys/bus/pci/devices (a function asleep in "
    "D3cold is named from the kernel's vendor, device, class and revision files, so that "
    "listing it does not wake it); on a captured file, those "
    "it holds; on port I/O every device is probed at function 0, and its functions 1 to 7 "
    "only when function 0 is present and multi-function.",
    kListOwnHelp,
    kSelectOptions | kDomainFlag | kSourceOption | kIdsOption | kJsonOption,
};

}  // namespace

const CommandHelp& ListHelp() { return kListHelp; }
std::span<const OptionSpec> ListOptions() { return kListSpecs; }

int RunList(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kListSpecs);
  if (!parsed.ok()) return Fail(err, "list: " + parsed.error);
  if (parsed.options.help) {
    out << CommandHelpTextOf("list");
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
  Selector selector;
  if (const std::string error = ReadSelection(parsed.options, selector); !error.empty()) {
    return Fail(err, "list: " + error);
  }
  if (const std::string error = UseIdsOption(parsed.options, err); !error.empty()) {
    return Fail(err, "list: " + error);
  }
  const std::optional<std::string> source = parsed.options.Text("--source");
  const OpenedAccess opened = open(source);
  if (!opened.access) return Fail(err, OpenFailure("list", source, opened));

  std::optional<int> bus;
  if (parsed.options.Has("--bus")) bus = static_cast<int>(parsed.options.Integer("--bus", 0));
  const bool json = parsed.options.Has("--json");
  std::string text;
  Json functions = Json::array();
  const FunctionListing listing = ListEveryDomain(*opened.access, bus);
  for (const std::string& skipped : listing.skipped) Warn(err, "list: warning: " + skipped);
  // As lspci does: every address with its domain as soon as one function is outside 0000.
  const bool with_domains = parsed.options.Has("-D") || NeedsDomains(listing.present);
  std::vector<ListedFunction> listed;
  for (const FunctionLocation& at : listing.present) {
    if (!selector.MatchesPlace(at)) continue;
    listed.push_back(DescribeFunction(*opened.access, at, with_domains));
  }
  // A function without a place is on no bus, and at no place -s could name.
  if (selector.slot_text.empty()) {
    for (const UnplacedFunction& unplaced : listing.unplaced) {
      listed.push_back(DescribeUnplaced(unplaced));
    }
  }
  bool any = false;
  for (const ListedFunction& function : listed) {
    if (!filter.Accepts(function) || !selector.MatchesIds(function.reg00, function.reg08)) {
      continue;
    }
    any = true;
    if (json) {
      functions.push_back(ListedFunctionJson(function));
    } else {
      text += function.text;
      text += '\n';
    }
  }
  WarnReadProblem("list", *opened.access, err);
  if (!any && selector.Given()) {
    Warn(err, "list: " + NothingMatches(selector));
    return kExitNothing;
  }
  if (!json) {
    WriteText(out, text);
    return kExitOk;
  }
  Json document = JsonDocument("list");
  document["backend"] = opened.access->Name();
  document["id_list"] = IdListJson();
  document["functions"] = std::move(functions);
  out << JsonText(document);
  return kExitOk;
}

int ListCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunList(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

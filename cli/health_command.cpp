#include "cli/health_command.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <ostream>

#include "caps/capability_list.h"
#include "caps/space_reader.h"
#include "cli/bus_tree.h"
#include "cli/common_options.h"
#include "cli/health_metrics.h"
#include "cli/health_watch.h"
#include "cli/help_text.h"
#include "cli/ids_option.h"
#include "cli/json_output.h"
#include "cli/link_reading.h"
#include "files/output_file.h"
#include "iddb/name_source.h"
#include "options/args.h"

namespace kelvox::cli {

namespace {

constexpr std::array kHealthSpecs = {
    kDomainFlagSpec,
    kSourceSpec,
    kIdsSpec,
    kJsonSpec,
    OptionSpec{"--format", OptionSpec::Kind::kText, 0, 0, "text, json or openmetrics"},
    OptionSpec{"-o", OptionSpec::Kind::kText, 0, 0, "a file to write"},
    OptionSpec{"--watch", OptionSpec::Kind::kText, 0, 0, "an interval in seconds"},
    OptionSpec{"--count", OptionSpec::Kind::kInteger, 1, 1000000000},
};

constexpr HelpOption kHealthOptionHelp[] = {
    {"--format F",
     "text (the default), json (as --json), or openmetrics: the metrics node exporter's "
     "textfile collector reads, every address with its domain"},
    {"--watch SECONDS",
     "samples the bus every SECONDS (0.1 to 86400; decimals allowed) from sysfs's files "
     "alone, without root, and prints a timestamped line for each change: a link's speed or "
     "width, an error counter that rose (by how much), a function added or removed, a driver "
     "bound or unbound; Ctrl+C ends it with the changes counted per function (a link that "
     "changed three times or more is flapping). Exit status 1 when anything changed"},
    {"--count N", "ends --watch after N samples"},
    {"-o FILE",
     "writes to FILE instead of the standard output, as capture -o does: a regular file is "
     "replaced whole, through a temporary file renamed over it, as the textfile collector "
     "asks"},
};

constexpr CommandHelp kHealthHelp{
    "[--format text|json|openmetrics] [-o FILE] [--watch SECONDS [--count N]]",
    "Checks every PCI Express link and function and prints one line per finding, worst "
    "first (error, warning, note), then a one-line summary.\n"
    "\n"
    "A link is judged from the two ports it joins, a downstream port and the device below "
    "it: it should run at the lower of the two ends' maximum speeds and widths (sysfs's "
    "max_link_speed and max_link_width, else LnkCap and LnkCap2) and is found when LnkSta "
    "(or current_link_*) says less. Each endpoint's way up to its root port is followed "
    "through the switches: a narrower link there than the endpoint's own is named, with the "
    "bandwidth the endpoint can really get (GB/s per direction). Many devices lower their "
    "link speed when idle; a speed finding on a display controller says so.\n"
    "\n"
    "Also found: the kernel's AER counters that are not zero (aer_dev_correctable, "
    "aer_dev_nonfatal, aer_dev_fatal, a root port's totals), the AER status bits set now "
    "(where the configuration space past the header can be read: as root), a port whose link "
    "is down (no DL_Active) or still training with a device below it, and a storage, "
    "network, display, multimedia, serial bus, wireless or accelerator function without a "
    "driver. Notes, which do not change the exit status: a function asleep in D3cold (it is "
    "not woken), and a disabled function that has a driver.\n"
    "\n"
    "Exit status 0 when nothing is found, 1 when something is, 2 on bad input. With --json, "
    "\"findings\" holds {\"severity\", \"kind\", \"address\", \"text\"} and \"found\" says "
    "whether any is more than a note.\n"
    "\n"
    "With --format openmetrics: one info metric per function (its address, IDs, class, "
    "driver and names as labels), its link's speed in GT/s and width in lanes, now and at "
    "most, the AER counters as counters, a gauge per finding, and whether anything was "
    "found; the names start kelvox_pcie_ and kelvox_health_.",
    kHealthOptionHelp,
    kDomainFlag | kSourceOption | kIdsOption | kJsonOption,
};

void FromErrorReporting(const CapabilityList& list, health::HealthFunction& function) {
  for (const Capability& capability : list.capabilities) {
    if (!capability.extended || capability.id != 0x0001) continue;
    for (const CapField& field : capability.fields) {
      const auto* names = std::get_if<std::vector<std::string>>(&field.value);
      if (names == nullptr) continue;
      if (field.key == "uncorrectable_status") function.uncorrectable_now = *names;
      if (field.key == "correctable_status") function.correctable_now = *names;
    }
  }
}

// The names of the function's class, vendor and device as `listed` gives them.
void TakeNames(const ListedFunction& listed, health::HealthFunction& function) {
  const std::string_view kind =
      !listed.sub_class_name.empty() ? listed.sub_class_name : listed.base_class_name;
  function.name = kind.empty() ? "function" : std::string(kind);
  function.vendor_name = std::string(listed.vendor_full_name);
  function.device_name = std::string(!listed.device_description.empty() ? listed.device_description
                                                                        : listed.chip_name);
}

// Names every function afresh from the list now in use, from the IDs already read.
void RenameFunctions(std::vector<health::HealthFunction>& functions) {
  for (health::HealthFunction& function : functions) {
    const UnplacedFunction ids{function.address,
                               static_cast<uint32_t>(function.device_id) << 16 | function.vendor_id,
                               function.class_code << 8};
    TakeNames(DescribeUnplaced(ids), function);
  }
}

health::HealthFunction Gather(ConfigAccess& access, const TreeNode& node, int parent) {
  const ListedFunction& listed = node.function;
  health::HealthFunction function;
  function.address = listed.address;
  function.class_code = listed.reg08 >> 8;
  function.parent = parent;
  function.driver = node.driver;
  function.vendor_id = static_cast<uint16_t>(listed.reg00 & 0xFFFF);
  function.device_id = static_cast<uint16_t>(listed.reg00 >> 16);
  TakeNames(listed, function);
  function.manages_speed = function.class_code >> 16 == 0x03;
  if (!listed.placed) return function;
  function.at = listed.at;
  const DomainScope in_domain(access, listed.at.domain);
  health::LinkState link;
  if (const std::optional<FunctionFacts> facts = access.SomeFacts(listed.at, kLinkFacts)) {
    function.power_state = facts->power_state;
    function.enabled = facts->enabled;
    link = LinkFromFacts(*facts);
  }
  function.counters = access.ErrorCounters(listed.at);
  // A function asleep in D3cold is not read: reading its space would wake it.
  const bool asleep = listed.kept || function.power_state == "D3cold";
  if (listed.kept) function.bridge = (listed.kept->Register(0x0C) >> 16 & 0x7F) == 1;
  if (!asleep) {
    const ConfigSpace space = ReadLinkAndErrorRegisters(access, listed.at);
    if (space.Readable(0x0C, 4)) function.bridge = (space.Byte(0x0E) & 0x7F) == 1;
    const CapabilityList list = DecodeCapabilities(space, listed.at);
    if (const std::optional<ExpressRegisters> express = ReadExpressLink(space, list, link)) {
      function.port_type = express->port_type;
      function.link_active = express->link_active;
      function.link_training = express->link_training;
    }
    FromErrorReporting(list, function);
  }
  if (link.max_speed > 0 || link.max_width > 0 || link.speed > 0 || link.width > 0) {
    function.link = link;
  }
  return function;
}

}  // namespace

const CommandHelp& HealthHelp() { return kHealthHelp; }
std::span<const OptionSpec> HealthOptions() { return kHealthSpecs; }

std::vector<health::HealthFunction> GatherHealth(ConfigAccess& access, bool with_domains) {
  const FunctionListing listing = ListEveryDomain(access, std::nullopt);
  const std::vector<TreeNode> tree = BuildBusTree(access, listing.present, with_domains);
  std::vector<health::HealthFunction> functions;
  // Depth first without recursion: each node with the index of the bridge above it.
  std::vector<std::pair<const TreeNode*, int>> pending;
  for (auto it = tree.rbegin(); it != tree.rend(); ++it) pending.push_back({&*it, -1});
  while (!pending.empty()) {
    const auto [node, parent] = pending.back();
    pending.pop_back();
    const int index = static_cast<int>(functions.size());
    functions.push_back(Gather(access, *node, parent));
    for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
      pending.push_back({&*it, index});
    }
  }
  // A function the system cannot place in a bus (the device manager may not say where one
  // sits) is checked with what it gives, at the top.
  for (const UnplacedFunction& unplaced : listing.unplaced) {
    TreeNode node;
    node.function = DescribeUnplaced(unplaced);
    functions.push_back(Gather(access, node, -1));
  }
  health::InferPortTypes(functions);
  return functions;
}

int RunHealth(std::span<const std::string> args, std::ostream& out, std::ostream& err,
              const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kHealthSpecs);
  if (!parsed.ok()) return Fail(err, "health: " + parsed.error);
  if (parsed.options.help) {
    out << CommandHelpTextOf("health");
    return kExitOk;
  }
  // Names show only in the text of a function without its driver and in the metrics' labels,
  // so the distribution's list (milliseconds to read) is read only when they are needed; a
  // list the user chose is read at once, so that one that cannot be read is said at once.
  const char* ids_variable = std::getenv(kIdsVariable);
  const bool default_ids =
      !parsed.options.Has("--ids") && (ids_variable == nullptr || *ids_variable == '\0');
  if (default_ids) {
    UseEmbeddedIdList();
  } else if (const std::string error = UseIdsOption(parsed.options, err); !error.empty()) {
    return Fail(err, "health: " + error);
  }
  std::string format = parsed.options.Text("--format").value_or("text");
  if (format != "text" && format != "json" && format != "openmetrics") {
    return Fail(err, "health: --format takes text, json or openmetrics, not " + format);
  }
  if (parsed.options.Has("--json")) {
    if (format == "openmetrics") return Fail(err, "health: --json and --format openmetrics");
    format = "json";
  }
  std::optional<double> watch;
  if (const std::optional<std::string> interval = parsed.options.Text("--watch")) {
    char* end = nullptr;
    const double seconds = std::strtod(interval->c_str(), &end);
    if (end == interval->c_str() || *end != '\0' || !(seconds >= 0.1 && seconds <= 86400)) {
      return Fail(err, "health: --watch takes seconds from 0.1 to 86400, not " + *interval);
    }
    watch = seconds;
  } else if (parsed.options.Has("--count")) {
    return Fail(err, "health: --count goes with --watch");
  }
  const std::optional<std::string> source = parsed.options.Text("--source");
  const OpenedAccess opened = open(source);
  if (!opened.access) return Fail(err, OpenFailure("health", source, opened));
  if (watch) {
    const std::optional<long> count =
        parsed.options.Has("--count") ? std::optional<long>(parsed.options.Integer("--count", 1))
                                      : std::nullopt;
    return WatchBus(*opened.access, parsed.options.Has("-D"), *watch, count, out);
  }
  // Metrics name every function with its domain, whatever the machine has.
  const bool with_domains = parsed.options.Has("-D") || format == "openmetrics";
  std::vector<health::HealthFunction> functions = GatherHealth(*opened.access, with_domains);
  WarnReadProblem("health", *opened.access, err);
  std::vector<health::Finding> findings = health::JudgeHealth(functions);
  const bool names_needed =
      format == "openmetrics" ||
      std::any_of(findings.begin(), findings.end(),
                  [](const health::Finding& finding) { return finding.kind == "no_driver"; });
  if (default_ids && names_needed) {
    // Named again, not read again: the findings stand, their texts take the new names.
    UseIdsOption(parsed.options, err);
    RenameFunctions(functions);
    findings = health::JudgeHealth(functions);
  }
  const bool found = health::AnyFound(findings);
  const int status = found ? kExitNothing : kExitOk;
  std::string text;
  if (format == "text") {
    for (const health::Finding& finding : findings) {
      std::string severity = health::SeverityName(finding.severity);
      severity.resize(8, ' ');
      text += severity + finding.address + "  " + finding.text + "\n";
    }
    text += health::SummaryLine(findings, functions.size()) + "\n";
  } else if (format == "openmetrics") {
    text = HealthMetrics(functions, findings);
  } else {
    text = HealthJson(*opened.access, functions, findings);
  }
  if (const std::optional<std::string> file = parsed.options.Text("-o")) {
    if (const std::string error = WriteOutputFile(*file, text); !error.empty()) {
      return Fail(err, "health: " + error);
    }
    return status;
  }
  if (format == "text") {
    WriteText(out, text);
  } else {
    out << text;
  }
  return status;
}

std::string HealthJson(ConfigAccess& access, const std::vector<health::HealthFunction>& functions,
                       const std::vector<health::Finding>& findings) {
  const bool found = health::AnyFound(findings);
  Json document = JsonDocument("health");
  document["backend"] = access.Name();
  document["id_list"] = IdListJson();
  Json list = Json::array();
  for (const health::Finding& finding : findings) {
    list.push_back({{"severity", health::SeverityName(finding.severity)},
                    {"kind", finding.kind},
                    {"address", finding.address},
                    {"text", finding.text}});
  }
  document["findings"] = std::move(list);
  document["functions_checked"] = functions.size();
  document["found"] = found;
  return JsonText(document);
}

int HealthCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunHealth(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

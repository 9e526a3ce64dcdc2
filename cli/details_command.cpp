#include "cli/details_command.h"

#include <array>
#include <ostream>

#include "cli/capabilities_output.h"
#include "cli/command.h"
#include "cli/common_options.h"
#include "cli/details_output.h"
#include "cli/domain_option.h"
#include "cli/help_text.h"
#include "cli/ids_option.h"
#include "cli/selector.h"
#include "cli/subsystem_name.h"
#include "config/recorded_reads.h"
#include "details/details_texts.h"
#include "details/device_details.h"
#include "details/function_read.h"
#include "options/args.h"

namespace kelvox::cli {

namespace {

constexpr std::array kDetailsSpecs = {
    OptionSpec{"--bus", OptionSpec::Kind::kInteger, 0, 255, {}, true},
    OptionSpec{"--function", OptionSpec::Kind::kInteger, 0, 7, {}, true},
    OptionSpec{"--all", OptionSpec::Kind::kFlag},
    kSlotSpec,
    kIdSpec,
    kDomainSpec,
    kSourceSpec,
    kIdsSpec,
    kJsonSpec,
};

constexpr std::array kDetailsOwnHelp = {
    HelpOption{"ADDRESS",
               "the function as lspci writes it: BB:DD.F or DDDD:BB:DD.F in "
               "hexadecimal (00:03.0); a part left out or written * makes it a "
               "selection, as -s"},
    HelpOption{"DEVICE",
               "a device number, decimal 0 to 31, on --bus and --function, as the "
               "window's list numbers it"},
    HelpOption{"--bus N",
               "the bus of DEVICE: decimal 0 to 255 (a bare 10 is ten), or "
               "hexadecimal with 0x or a digit a-f (0x1a, 1a); default 0"},
    HelpOption{"--function N", "the function of DEVICE, 0 to 7; default 0"},
    HelpOption{"--all", "every present function, one after another, as lspci -vv shows them"},
};

constexpr CommandHelp kDetailsHelp{
    "[ADDRESS | DEVICE | --all] [--bus N] [--function N]",
    "Prints what the details sheet shows for a function: the caption (the domain first "
    "outside domain 0000), then the pages [ベンダ情報], [ベースアドレス], [割込みなど] and "
    "[システム], one field per line: \"LABEL: TEXT\" for a field with a label, the text alone, "
    "two blanks in, for the names beside the IDs and for the base address registers under "
    "their group labels, "
    "\"-\" for a name the list does not give. The base address registers are sized as the "
    "sheet sizes them; on sysfs the sizes come from the kernel and no device is written. With "
    "a list that names subsystems (--ids), the subsystem's name follows the subsystem ID.\n"
    "\n"
    "After them comes [ヘッダ詳細]: the header's registers as lspci -v decodes them (Control "
    "and Status bits by name, each region with its whole address, kind and size, the "
    "expansion ROM, a bridge's buses, windows, secondary status and BridgeCtl). Then "
    "[ケイパビリティ]: every capability of the function, one per line as "
    "\"[OFFSET] NAME (vVERSION): SUMMARY\", its registers below as lspci -vv writes them "
    "(LnkCap, LnkSta, DevCtl, MaxPayload, ...); where the bytes past the header cannot be read "
    "(sysfs without the administrator's rights, a capture of lspci -x), one line says why.\n"
    "\n"
    "ADDRESS or DEVICE names one function; one that is not there shows what an empty slot "
    "reads (all ones), as the window does, with a warning. With --all, -s, -d or an ADDRESS "
    "with a part left out, every present function they choose is printed, a blank line "
    "between; --json then gives {\"functions\": [...]}, one object for each.",
    kDetailsOwnHelp,
    kSelectOptions | kDomainOption | kSourceOption | kIdsOption | kJsonOption,
};

// The subsystem's name from the registers the details were made from, or nothing.
std::optional<std::string_view> SubsystemNameOf(std::span<const ConfigAccessRecord> reads) {
  const std::optional<uint32_t> reg00 = FirstRead(reads, 0x00);
  const std::optional<uint32_t> reg0c = FirstRead(reads, 0x0C);
  const std::optional<uint32_t> reg2c = FirstRead(reads, 0x2C);
  if (!reg00 || !reg0c || !reg2c) return std::nullopt;
  return SubsystemName(*reg00, *reg0c, *reg2c);
}

// `text` with "  NAME" after the subsystem ID's line.
std::string WithSubsystemName(std::string text, std::string_view name) {
  const std::string label = "\n" + std::string(kSubsystemIdLabel) + ": ";
  const size_t at = text.find(label);
  if (at == std::string::npos) return text;
  const size_t end = text.find('\n', at + 1);
  text.insert(end == std::string::npos ? text.size() : end + 1, "  " + std::string(name) + "\n");
  return text;
}

// Whether a word names a function as lspci writes it, rather than a device number.
bool IsAddress(std::string_view word) {
  return word.find(':') != std::string_view::npos || word.find('.') != std::string_view::npos;
}

// The details of the function at `at` in the access's selected domain: the text, or the JSON
// object (the place and the sheet's fields).
struct FunctionDetails {
  std::string text;
  Json json;
  bool present = false;
};

FunctionDetails DetailsOf(ConfigAccess& access, FunctionLocation at) {
  const FunctionRead read = ReadFunction(access, at);
  const DeviceDetails& details = read.details;
  const std::optional<std::string_view> subsystem =
      IdListNamesSubsystems() ? SubsystemNameOf(read.records) : std::nullopt;
  FunctionDetails shown;
  shown.present = (FirstRead(read.records, 0x00).value_or(kAllOnes) & 0xFFFF) != 0xFFFF;
  shown.text =
      (subsystem ? WithSubsystemName(DetailsText(details), *subsystem) : DetailsText(details)) +
      HeaderFieldsText(read.header) + CapabilitiesText(read.capabilities);
  shown.json = Json::object();
  shown.json["domain"] = at.domain;
  shown.json["bus"] = at.bus;
  shown.json["device"] = at.device;
  shown.json["function"] = at.function;
  shown.json.update(DetailsJson(details, read.records));
  if (IdListNamesSubsystems()) shown.json["subsystem_name"] = subsystem ? Json(*subsystem) : Json();
  AddHeaderFieldsJson(shown.json, read.header);
  AddCapabilitiesJson(shown.json, read.capabilities);
  return shown;
}

// What the words name: one function (a device number or a whole address), or a selection.
struct Target {
  std::optional<FunctionLocation> one;  // its domain only when the address gave one
  bool domain_given = false;
  Selector selection;
  std::string error;
};

Target ReadTarget(const ParsedOptions& options) {
  Target target;
  if (std::string error = ReadSelection(options, target.selection); !error.empty()) {
    target.error = std::move(error);
    return target;
  }
  if (options.Has("--all")) {
    if (!options.positionals.empty() || target.selection.Given() || options.Has("--bus") ||
        options.Has("--function")) {
      target.error = "--all takes no address, device number, -s, -d, --bus or --function";
      return target;
    }
    // Every function: a selection that leaves every part open.
    target.selection.slot_text = "*:*.*";
    return target;
  }
  const bool by_number = options.Has("--bus") || options.Has("--function");
  if (options.positionals.empty()) {
    if (!target.selection.Given()) {
      target.error =
          "no function given: an address such as 00:03.0, a device number, -s/-d or --all";
    } else if (by_number) {
      target.error = "--bus and --function go with a device number, not with -s or -d";
    }
    return target;
  }
  const std::string& word = options.positionals.front();
  if (!IsAddress(word)) {
    const std::optional<long> device = ParseInteger(word);
    if (!device) {
      target.error = "'" + word + "' is neither an address (00:03.0) nor a device number";
    } else if (*device < 0 || *device > 31) {
      target.error = "device " + std::to_string(*device) + " is outside 0 to 31";
    } else if (target.selection.Given()) {
      target.error = "a device number and -s or -d: give one of them";
    } else {
      target.one =
          FunctionLocation{static_cast<int>(options.Integer("--bus", 0)), static_cast<int>(*device),
                           static_cast<int>(options.Integer("--function", 0))};
    }
    return target;
  }
  if (!target.selection.slot_text.empty()) {
    target.error = "an address and -s: give the place once";
    return target;
  }
  if (by_number) {
    target.error = "--bus and --function go with a device number, not with an address";
    return target;
  }
  Selector place;
  if (std::string error = ParseSlotSelector(word, place); !error.empty()) {
    target.error = "address" + error.substr(2);  // "-s: invalid ..." as "address: invalid ..."
    return target;
  }
  if (place.bus && place.device && place.function && target.selection.id_text.empty()) {
    target.one =
        FunctionLocation{*place.bus, *place.device, *place.function, place.domain.value_or(0)};
    target.domain_given = place.domain.has_value();
    return target;
  }
  // An address with a part left open, or with -d, chooses as -s does.
  place.vendor_id = target.selection.vendor_id;
  place.device_id = target.selection.device_id;
  place.class_code = target.selection.class_code;
  place.id_text = target.selection.id_text;
  target.selection = place;
  return target;
}

}  // namespace

const CommandHelp& DetailsHelp() { return kDetailsHelp; }
std::span<const OptionSpec> DetailsOptions() { return kDetailsSpecs; }

int RunDetails(std::span<const std::string> args, std::ostream& out, std::ostream& err,
               const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kDetailsSpecs, 1);
  if (!parsed.ok()) return Fail(err, "details: " + parsed.error);
  if (parsed.options.help) {
    out << CommandHelpTextOf("details");
    return kExitOk;
  }
  const Target target = ReadTarget(parsed.options);
  if (!target.error.empty()) return Fail(err, "details: " + target.error);
  if (const std::string error = UseIdsOption(parsed.options, err); !error.empty()) {
    return Fail(err, "details: " + error);
  }
  const std::optional<std::string> source = parsed.options.Text("--source");
  const OpenedAccess opened = open(source);
  if (!opened.access) return Fail(err, OpenFailure("details", source, opened));
  ConfigAccess& access = *opened.access;
  const bool json = parsed.options.Has("--json");

  if (target.one) {
    const std::optional<int> domain =
        target.domain_given ? std::optional<int>(target.one->domain) : std::nullopt;
    if (const std::string error = UseDomainOption(parsed.options, access, domain); !error.empty()) {
      return Fail(err, "details: " + error);
    }
    FunctionLocation at = *target.one;
    at.domain = access.SelectedDomain();
    const FunctionDetails shown = DetailsOf(access, at);
    if (!shown.present) {
      Warn(err, "details: warning: no function answers at " + AddressText(at) +
                    "; the sheet shows what an empty slot reads (all ones)");
    }
    WarnReadProblem("details", access, err);
    if (!json) {
      WriteText(out, shown.text);
      return kExitOk;
    }
    Json document = JsonDocument("details");
    document["backend"] = access.Name();
    document["id_list"] = IdListJson();
    document.update(shown.json);
    out << JsonText(document);
    return kExitOk;
  }

  if (parsed.options.Has("--domain")) {
    return Fail(err,
                "details: --domain goes with a device number or a whole address; -s takes "
                "the domain as DDDD:BB:DD.F");
  }
  const FunctionListing listing = ListEveryDomain(access, std::nullopt);
  for (const std::string& skipped : listing.skipped) Warn(err, "details: warning: " + skipped);
  const std::vector<FunctionLocation> chosen =
      SelectFunctions(access, listing.present, target.selection);
  WarnReadProblem("details", access, err);
  if (chosen.empty()) {
    Warn(err, "details: " + NothingMatches(target.selection));
    return kExitNothing;
  }
  std::string text;
  Json functions = Json::array();
  for (const FunctionLocation& at : chosen) {
    const DomainScope in_domain(access, at.domain);
    FunctionDetails shown = DetailsOf(access, at);
    if (json) {
      functions.push_back(std::move(shown.json));
    } else {
      if (!text.empty()) text += '\n';
      text += shown.text;
    }
  }
  if (!json) {
    WriteText(out, text);
    return kExitOk;
  }
  Json document = JsonDocument("details");
  document["backend"] = access.Name();
  document["id_list"] = IdListJson();
  document["functions"] = std::move(functions);
  out << JsonText(document);
  return kExitOk;
}

int DetailsCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunDetails(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

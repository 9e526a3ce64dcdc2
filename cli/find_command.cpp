#include "cli/find_command.h"

#include <array>
#include <ostream>

#include "cli/command.h"
#include "cli/common_options.h"
#include "cli/help_text.h"
#include "cli/ids_option.h"
#include "details/details_texts.h"
#include "options/args.h"
#include "search/search_form.h"

namespace kelvox::cli {

namespace {

constexpr std::array kFindSpecs = {
    OptionSpec{"--vendor", OptionSpec::Kind::kText},
    OptionSpec{"--device", OptionSpec::Kind::kText},
    OptionSpec{"--class", OptionSpec::Kind::kText},
    kIdsSpec,
    kJsonSpec,
};

constexpr std::array kFindOwnHelp = {
    HelpOption{"--vendor XXXX", "vendor ID, at most 4 characters"},
    HelpOption{"--device XXXX", "device ID, at most 4 characters (needs --vendor)"},
    HelpOption{"--class HEX", "class code, at most 6 characters"},
};

constexpr CommandHelp kFindHelp{
    "[--vendor XXXX] [--device XXXX] [--class HEX]",
    "Prints the names the search window shows for what is typed into it, by its rules: a "
    "vendor or device ID names something at exactly 4 hexadecimal characters; device names "
    "need --vendor and a vendor that is found; a class code names its base class at 2 "
    "characters, its sub-class at 4 and its programming interface at 6 (3 and 5 characters "
    "keep what 2 and 4 gave). Text that is not hexadecimal names nothing (a class code then "
    "reads as ff: \"Unknown\").\n"
    "\n"
    "Output: \"ベンダID: XXXX\", \"デバイスID: XXXX\" or \"クラスコード: HEX\", each followed by "
    "its "
    "names, one per line, indented by two blanks, \"-\" for a name the list does not give.",
    kFindOwnHelp,
    kIdsOption | kJsonOption,
};

void AppendGroup(std::string& text, std::string_view label, const std::string& input,
                 std::initializer_list<const std::string*> names) {
  text += label;
  text += ": ";
  text += input;
  text += '\n';
  for (const std::string* name : names) text += "  " + (name->empty() ? "-" : *name) + "\n";
}

// The reason `value` does not fit its field, or nothing.
std::optional<std::string> TooLong(std::string_view option, const std::optional<std::string>& value,
                                   int limit) {
  if (!value || CountCharacters(*value) <= static_cast<size_t>(limit)) return std::nullopt;
  return std::string(option) + ": longer than " + std::to_string(limit) + " characters";
}

}  // namespace

const CommandHelp& FindHelp() { return kFindHelp; }
std::span<const OptionSpec> FindOptions() { return kFindSpecs; }

std::string FindText(const SearchInput& input, const SearchAnswer& answer) {
  std::string text;
  if (answer.vendor) {
    AppendGroup(text, kVendorIdLabel, input.vendor_id.value_or(""),
                {&answer.vendor->short_name, &answer.vendor->full_name});
  }
  if (answer.device) {
    AppendGroup(text, kDeviceIdLabel, input.device_id.value_or(""),
                {&answer.device->chip_name, &answer.device->description});
  }
  if (answer.class_code) {
    const ClassAnswer& c = *answer.class_code;
    AppendGroup(text, kClassCodeLabel, input.class_code.value_or(""),
                {&c.base_name, &c.sub_name, &c.prog_if_name});
  }
  return text;
}

Json FindJson(const SearchInput& input, const SearchAnswer& answer) {
  Json document = {{"vendor", nullptr}, {"device", nullptr}, {"class", nullptr}};
  if (answer.vendor) {
    const VendorAnswer& v = *answer.vendor;
    document["vendor"] = {{"input", input.vendor_id.value_or("")},
                          {"value", v.value},
                          {"found", v.found},
                          {"short_name", v.short_name},
                          {"full_name", v.full_name}};
  }
  if (answer.device) {
    const DeviceAnswer& d = *answer.device;
    document["device"] = {{"input", input.device_id.value_or("")},
                          {"value", d.value},
                          {"found", d.found},
                          {"chip_name", d.chip_name},
                          {"description", d.description}};
  }
  if (answer.class_code) {
    const ClassAnswer& c = *answer.class_code;
    document["class"] = {{"input", input.class_code.value_or("")},
                         {"base", c.base},
                         {"sub", c.sub},
                         {"prog_if", c.prog_if},
                         {"base_name", c.base_name},
                         {"sub_name", c.sub_name},
                         {"prog_if_name", c.prog_if_name}};
  }
  return document;
}

int FindCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  const ParseResult parsed = ParseOptions(args, kFindSpecs);
  if (!parsed.ok()) return Fail(err, "find: " + parsed.error);
  if (parsed.options.help) {
    out << CommandHelpTextOf("find");
    return kExitOk;
  }
  const SearchInput input{parsed.options.Text("--vendor"), parsed.options.Text("--device"),
                          parsed.options.Text("--class")};
  if (!input.vendor_id && !input.device_id && !input.class_code) {
    return Fail(err, "find: give --vendor, --device or --class");
  }
  if (input.device_id && !input.vendor_id) return Fail(err, "find: --device needs --vendor");
  for (const auto& problem : {TooLong("--vendor", input.vendor_id, kVendorIdChars),
                              TooLong("--device", input.device_id, kDeviceIdChars),
                              TooLong("--class", input.class_code, kClassCodeChars)}) {
    if (problem) return Fail(err, "find: " + *problem);
  }
  if (const std::string error = UseIdsOption(parsed.options, err); !error.empty()) {
    return Fail(err, "find: " + error);
  }
  const SearchAnswer answer = AnswerSearch(input);
  if (!parsed.options.Has("--json")) {
    WriteText(out, FindText(input, answer));
    return kExitOk;
  }
  Json document = JsonDocument("find");
  document["id_list"] = IdListJson();
  document.update(FindJson(input, answer));
  out << JsonText(document);
  return kExitOk;
}

}  // namespace kelvox::cli

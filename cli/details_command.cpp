#include "cli/details_command.h"

#include <array>
#include <ostream>

#include "cli/command.h"
#include "cli/details_output.h"
#include "cli/domain_option.h"
#include "cli/ids_option.h"
#include "cli/recorded_reads.h"
#include "cli/subsystem_name.h"
#include "config/recording_access.h"
#include "details/details_texts.h"
#include "details/device_details.h"
#include "options/args.h"

namespace kelvox::cli {

namespace {
constexpr std::array kDetailsOptions = {
    OptionSpec{"--bus", OptionSpec::Kind::kInteger, 0, 255},
    OptionSpec{"--function", OptionSpec::Kind::kInteger, 0, 7},
    kDomainOption,
    OptionSpec{"--source", OptionSpec::Kind::kText},
    kIdsOption,
    OptionSpec{"--json", OptionSpec::Kind::kFlag},
};

constexpr char kDetailsHelpText[] =
    "kelvox-cli details DEVICE [--bus N] [--function N] [--domain N]\n"
    "                  " KELVOX_SOURCE_USAGE
    "\n"
    "                  " KELVOX_IDS_USAGE
    " [--json]\n"
    "\n"
    "  Prints what the details sheet shows for device number DEVICE (decimal 0 to 31):\n"
    "  the caption (the domain first outside domain 0000), then the pages [ベンダ情報],\n"
    "  [ベースアドレス] and [割込みなど], one\n"
    "  field per line: \"LABEL: TEXT\" for a field with a label, \"  TEXT\" for the names\n"
    "  beside the IDs and for the base address registers under their group labels. The\n"
    "  base address registers are sized as the sheet sizes them; on sysfs the sizes come\n"
    "  from the kernel and no device is written. An absent device reads all ones. With a\n"
    "  list other than the embedded one (--ids), the subsystem's name, when the list has\n"
    "  one, follows the subsystem ID as \"  NAME\".\n"
    "\n"
    "  --bus N        bus number, decimal 0 to 255 (default 0)\n"
    "  --function N   function number, decimal 0 to 7 (default 0)\n"
    "  --json         print one JSON document instead (schema in the README)\n";

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

}  // namespace

std::string DetailsHelp() {
  return std::string(kDetailsHelpText) + std::string(kDomainOptionHelp) +
         std::string(kIdsOptionHelp) + std::string(kSourceOptionHelp);
}

int RunDetails(std::span<const std::string> args, std::ostream& out, std::ostream& err,
               const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kDetailsOptions, 1);
  if (!parsed.ok()) return Fail(err, "details: " + parsed.error);
  if (parsed.options.help) {
    out << DetailsHelp();
    return kExitOk;
  }
  if (parsed.options.positionals.empty()) return Fail(err, "details: no device number given");
  const std::string& word = parsed.options.positionals.front();
  const std::optional<long> device = ParseInteger(word);
  if (!device) return Fail(err, "details: device '" + word + "' is not a decimal number");
  if (*device < 0 || *device > 31) {
    return Fail(err, "details: device " + std::to_string(*device) + " is outside 0 to 31");
  }
  if (const std::string error = UseIdsOption(parsed.options); !error.empty()) {
    return Fail(err, "details: " + error);
  }
  const OpenedAccess opened = open(parsed.options.Text("--source"));
  if (!opened.access) return Fail(err, opened.error);
  if (const std::string error = UseDomainOption(parsed.options, *opened.access); !error.empty()) {
    return Fail(err, "details: " + error);
  }

  const auto bus = static_cast<int>(parsed.options.Integer("--bus", 0));
  const auto function = static_cast<int>(parsed.options.Integer("--function", 0));
  RecordingAccess recording(*opened.access);
  const DeviceDetails details =
      BuildDeviceDetails(recording, bus, static_cast<int>(*device), function);
  const std::optional<std::string_view> subsystem =
      IdListNamesSubsystems() ? SubsystemNameOf(recording.records()) : std::nullopt;
  if (!parsed.options.Has("--json")) {
    WriteText(out, subsystem ? WithSubsystemName(DetailsText(details), *subsystem)
                             : DetailsText(details));
    return kExitOk;
  }
  Json document = JsonDocument("details");
  document["backend"] = opened.access->Name();
  document["domain"] = opened.access->SelectedDomain();
  document["bus"] = bus;
  document["device"] = *device;
  document["function"] = function;
  document.update(DetailsJson(details, recording.records()));
  if (IdListNamesSubsystems()) document["subsystem_name"] = subsystem ? Json(*subsystem) : Json();
  out << JsonText(document);
  return kExitOk;
}

int DetailsCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunDetails(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

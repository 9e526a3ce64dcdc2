// Advanced Error Reporting (extended capability 0x0001): the uncorrectable errors' status, mask
// and severity, the correctable errors' status and mask, the capabilities and control register
// with the first error pointer, the header log, and for a root port or a root complex event
// collector its root error command, status and error source. Each status bit has lspci's name,
// so a search for lspci's word finds it, and the JSON lists the names of the bits that are set.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

constexpr int kRootPort = 4;
constexpr int kRootComplexEventCollector = 10;

// The uncorrectable errors, as lspci names them, in its order.
std::vector<CapField> Uncorrectable(uint32_t value) {
  return FlagsOf(value, {{"data_link_protocol", "DLP", 4},
                         {"surprise_down", "SDES", 5},
                         {"poisoned_tlp", "TLP", 12},
                         {"flow_control_protocol", "FCP", 13},
                         {"completion_timeout", "CmpltTO", 14},
                         {"completer_abort", "CmpltAbrt", 15},
                         {"unexpected_completion", "UnxCmplt", 16},
                         {"receiver_overflow", "RxOF", 17},
                         {"malformed_tlp", "MalfTLP", 18},
                         {"ecrc", "ECRC", 19},
                         {"unsupported_request", "UnsupReq", 20},
                         {"acs_violation", "ACSViol", 21}});
}

std::vector<CapField> Correctable(uint32_t value) {
  return FlagsOf(value, {{"receiver_error", "RxErr", 0},
                         {"bad_tlp", "BadTLP", 6},
                         {"bad_dllp", "BadDLLP", 7},
                         {"replay_rollover", "Rollover", 8},
                         {"replay_timeout", "Timeout", 12},
                         {"advisory_non_fatal", "AdvNonFatalErr", 13}});
}

// The names of the flags that are set: what a script asks of a status register.
CapField SetNames(std::string_view key, std::string_view label,
                  const std::vector<CapField>& flags) {
  std::vector<std::string> set;
  for (const CapField& flag : flags) {
    if (std::get<bool>(flag.value)) set.emplace_back(flag.label);
  }
  std::string text;
  for (const std::string& name : set) text += (text.empty() ? "" : " ") + name;
  CapField field = Text(key, label, std::move(text));
  field.value = std::move(set);
  return Hidden(std::move(field));
}

// A status register: shown with its flags, and its set bits' names for JSON.
void AddStatus(Capability& cap, std::string_view key, std::string_view label,
               std::string_view names_key, std::string_view names_label,
               std::vector<CapField> flags) {
  cap.fields.push_back(SetNames(names_key, names_label, flags));
  cap.fields.push_back(FlagsRegister(key, label, std::move(flags)));
}

}  // namespace

void DecodeAdvancedErrorReporting(const ConfigSpace& space, const FunctionContext& function,
                                  Capability& cap) {
  if (!RequireBytes(space, cap, 0x2C)) return;
  const int at = cap.offset;
  cap.fields.reserve(12);  // nine fields, and a root port's three more
  AddStatus(cap, "uncorrectable_status_register", "UESta", "uncorrectable_status", "UESta set",
            Uncorrectable(space.Dword(at + 0x04)));
  cap.fields.push_back(
      FlagsRegister("uncorrectable_mask", "UEMsk", Uncorrectable(space.Dword(at + 0x08))));
  cap.fields.push_back(
      FlagsRegister("uncorrectable_severity", "UESvrt", Uncorrectable(space.Dword(at + 0x0C))));
  AddStatus(cap, "correctable_status_register", "CESta", "correctable_status", "CESta set",
            Correctable(space.Dword(at + 0x10)));
  cap.fields.push_back(
      FlagsRegister("correctable_mask", "CEMsk", Correctable(space.Dword(at + 0x14))));

  const uint32_t control = space.Dword(at + 0x18);
  const int pointer = static_cast<int>(control & 0x1F);
  std::vector<CapField> first = FlagsOf(control, {{"ecrc_generation_capable", "ECRCGenCap", 5},
                                                  {"ecrc_generation_enabled", "ECRCGenEn", 6},
                                                  {"ecrc_check_capable", "ECRCChkCap", 7},
                                                  {"ecrc_check_enabled", "ECRCChkEn", 8}});
  std::vector<CapField> second =
      FlagsOf(control, {{"multiple_header_recording_capable", "MultHdrRecCap", 9},
                        {"multiple_header_recording_enabled", "MultHdrRecEn", 10},
                        {"tlp_prefix_log_present", "TLPPfxPres", 11},
                        {"header_log_capable", "HdrLogCap", 12}});
  std::string text = "First Error Pointer: " + Hex(static_cast<uint32_t>(pointer), 2) + ", " +
                     FlagsText(first) + "\n" + FlagsText(second);
  std::vector<CapField> fields;
  fields.push_back(Number("first_error_pointer", "First Error Pointer", pointer,
                          Hex(static_cast<uint32_t>(pointer), 2)));
  for (CapField& flag : first) fields.push_back(std::move(flag));
  for (CapField& flag : second) fields.push_back(std::move(flag));
  cap.fields.push_back(
      Register("capabilities_control", "AERCap", std::move(text), std::move(fields)));

  std::string log;
  std::vector<std::string> words;
  for (int i = 0; i < 4; ++i) {
    words.push_back(Hex(space.Dword(at + 0x1C + 4 * i), 8));
    log += (i == 0 ? "" : " ") + words.back();
  }
  CapField header_log = Text("header_log", "HeaderLog", log);
  header_log.value = std::move(words);
  cap.fields.push_back(std::move(header_log));

  if (function.express_type != kRootPort && function.express_type != kRootComplexEventCollector) {
    return;
  }
  if (!RequireBytes(space, cap, 0x38)) return;
  cap.fields.push_back(
      FlagsRegister("root_command", "RootCmd",
                    FlagsOf(space.Dword(at + 0x2C), {{"correctable_reporting", "CERptEn", 0},
                                                     {"non_fatal_reporting", "NFERptEn", 1},
                                                     {"fatal_reporting", "FERptEn", 2}})));
  const uint32_t root_status = space.Dword(at + 0x30);
  std::vector<CapField> received =
      FlagsOf(root_status, {{"correctable_received", "CERcvd", 0},
                            {"multiple_correctable", "MultCERcvd", 1},
                            {"uncorrectable_received", "UERcvd", 2},
                            {"multiple_uncorrectable", "MultUERcvd", 3}});
  std::vector<CapField> messages = FlagsOf(root_status, {{"first_fatal", "FirstFatal", 4},
                                                         {"non_fatal_message", "NonFatalMsg", 5},
                                                         {"fatal_message", "FatalMsg", 6}});
  const int message = static_cast<int>(root_status >> 27);
  std::string status_text =
      FlagsText(received) + "\n" + FlagsText(messages) + " IntMsg " + std::to_string(message);
  for (CapField& flag : messages) received.push_back(std::move(flag));
  received.push_back(Number("interrupt_message", "IntMsg", message, std::to_string(message)));
  cap.fields.push_back(
      Register("root_status", "RootSta", std::move(status_text), std::move(received)));
  const uint32_t source = space.Dword(at + 0x34);
  const std::string correctable = Hex(source & 0xFFFF, 4), other = Hex(source >> 16, 4);
  cap.fields.push_back(Register(
      "error_source", "ErrorSrc", "ERR_COR: " + correctable + " ERR_FATAL/NONFATAL: " + other,
      Fields(Number("correctable", "ERR_COR", source & 0xFFFF, correctable),
             Number("fatal_non_fatal", "ERR_FATAL/NONFATAL", source >> 16, other))));
}

}  // namespace kelvox

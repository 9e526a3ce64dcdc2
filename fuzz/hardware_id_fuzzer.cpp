// The readers of the texts Windows gives a PCI device, on any input: one hardware or compatible
// ID, a multi-string of them, a location text. A refused ID must come with one printable line;
// an accepted one is checked against a walk of its parts done here: "PCI\" in either case, then
// '&'-joined KEY_digits parts, each key once, with the digit count the key takes, and every
// field must hold the value of its digits. The multi-string's texts joined again must be the
// start of the input, and a device's place must always fit in a bus row.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "config/cfgmgr/device_identity.h"
#include "config/cfgmgr/device_location.h"
#include "config/cfgmgr/hardware_id_text.h"

namespace {

[[noreturn]] void Fails(const std::string& what) {
  std::fprintf(stderr, "hardware_id: %s\n", what.c_str());
  std::abort();
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The value of a run of hexadecimal digits, or -1 when one is not.
int64_t HexValue(std::string_view digits) {
  int64_t value = 0;
  for (char c : digits) {
    const auto u = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(c)));
    if (!std::isxdigit(u)) return -1;
    value = value * 16 + (std::isdigit(u) ? u - '0' : u - 'A' + 10);
  }
  return value;
}

void CheckAccepted(std::string_view text, const kelvox::HardwareIdText& id) {
  const std::string upper = Upper(text);
  if (upper.rfind("PCI\\", 0) != 0) Fails("accepted without PCI\\");
  std::map<std::string, std::string> parts;
  size_t at = 4;
  while (true) {
    const size_t amp = upper.find('&', at);
    const std::string part = upper.substr(at, amp - at);
    const size_t underscore = part.find('_');
    if (underscore == std::string::npos) Fails("accepted a part with no key: " + part);
    const std::string key = part.substr(0, underscore);
    if (!parts.emplace(key, part.substr(underscore + 1)).second)
      Fails("accepted " + key + " twice");
    if (amp == std::string::npos) break;
    at = amp + 1;
  }
  const std::map<std::string, size_t> widths = {{"VEN", 4}, {"DEV", 4}, {"SUBSYS", 8}, {"REV", 2}};
  for (const auto& [key, digits] : parts) {
    const auto width = widths.find(key);
    if (key == "CC") {
      if (digits.size() != 4 && digits.size() != 6) Fails("accepted CC_" + digits);
    } else if (width == widths.end() || digits.size() != width->second) {
      Fails("accepted " + key + "_" + digits);
    }
    if (HexValue(digits) < 0) Fails("accepted digits " + digits);
  }
  const auto expect = [&](const char* key, auto field) {
    const auto found = parts.find(key);
    if ((found != parts.end()) != field.has_value()) Fails(std::string(key) + " presence differs");
    if (found != parts.end() && HexValue(found->second) != static_cast<int64_t>(*field)) {
      Fails(std::string(key) + " value differs");
    }
  };
  expect("VEN", id.vendor);
  expect("DEV", id.device);
  expect("SUBSYS", id.subsystem);
  expect("REV", id.revision);
  const auto cc = parts.find("CC");
  if ((cc != parts.end()) != id.class_code.has_value()) Fails("CC presence differs");
  if (cc != parts.end()) {
    const int64_t expected =
        cc->second.size() == 6 ? HexValue(cc->second) : HexValue(cc->second) << 8;
    if (expected != static_cast<int64_t>(*id.class_code)) Fails("CC value differs");
    if (id.class_has_interface != (cc->second.size() == 6)) Fails("CC form differs");
  }
}

void CheckProblem(const std::string& problem) {
  if (problem.empty()) Fails("refused without a reason");
  for (char c : problem) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
      Fails("reason holds an unprintable byte");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const kelvox::ParsedHardwareId parsed = kelvox::ParseHardwareIdText(input);
  if (parsed.id) {
    if (!parsed.problem.empty()) Fails("accepted with a reason");
    CheckAccepted(input, *parsed.id);
  } else {
    CheckProblem(parsed.problem);
  }

  std::string joined;
  for (const std::string& text : kelvox::SplitMultiString(input)) {
    if (text.empty() || text.find('\0') != std::string::npos) Fails("split gave an empty text");
    joined += text;
    joined += '\0';
  }
  if (!joined.empty() && input.compare(0, joined.size() - 1, joined, 0, joined.size() - 1) != 0) {
    Fails("split texts are not the input's start");
  }

  kelvox::DeviceRecord record;
  record.instance_id = input.substr(0, input.find('\0'));
  record.hardware_ids = input;
  record.compatible_ids = input.substr(input.size() / 2);
  record.location_text = input;
  const kelvox::IdentityOrProblem identity = kelvox::IdentifyDevice(record);
  if (!identity.identity) CheckProblem(identity.problem);
  const kelvox::PlaceOrProblem place = kelvox::LocateDevice(record);
  if (place.at && (place.at->bus > 0xFF || place.at->device > 0x1F || place.at->function > 7 ||
                   place.at->bus < 0 || place.at->device < 0 || place.at->function < 0)) {
    Fails("placed out of range");
  }
  if (place.at && !place.problem.empty()) Fails("placed with a problem");
  return 0;
}

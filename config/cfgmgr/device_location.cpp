#include "config/cfgmgr/device_location.h"

#include <cctype>

#include "text/hex_digit.h"

namespace kelvox {

namespace {

constexpr uint64_t kTooLarge = uint64_t{1} << 40;  // numbers are capped here while read

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Whether `text` at `at` reads `word` in either case.
bool WordAt(std::string_view text, size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(text[at + i]) != Lower(word[i])) return false;
  }
  return true;
}

// Reads a number of at least one digit in `base` (10 or 16) at `at`, moving `at` past it.
std::optional<uint64_t> Number(std::string_view text, size_t& at, int base) {
  uint64_t value = 0;
  const size_t start = at;
  for (; at < text.size(); ++at) {
    const int digit = HexDigitValue(text[at]);
    if (digit < 0 || digit >= base) break;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > kTooLarge) value = kTooLarge;
  }
  if (at == start) return std::nullopt;
  return value;
}

// A way of writing the three numbers: each after its mark, in `base`, of exactly `digits`
// digits (0: any number of them), then `close`.
struct LocationForm {
  std::string_view marks[3];
  int base;
  size_t digits;
  std::string_view close;
};

// "PCI bus 3, device 0, function 1", as the PCI bus driver writes the location.
constexpr LocationForm kWords{{"PCI bus ", ", device ", ", function "}, 10, 0, ""};
// "BUS_03&DEV_00&FUNC_01", a part of some location texts and instance IDs.
constexpr LocationForm kParts{{"BUS_", "&DEV_", "&FUNC_"}, 16, 2, ""};
// ";(3,0,1)": the arguments of the indirect text the registry stores,
// "@System32\drivers\pci.sys,#65536;PCI bus %1, device %2, function %3;(3,0,1)".
constexpr LocationForm kArguments{{";(", ",", ","}, 10, 0, ")"};

// The numbers written in `form` starting at `at`.
std::optional<LocationNumbers> Match(std::string_view text, size_t at, const LocationForm& form) {
  LocationNumbers n;
  uint64_t* fields[] = {&n.bus, &n.device, &n.function};
  for (int i = 0; i < 3; ++i) {
    if (!WordAt(text, at, form.marks[i])) return std::nullopt;
    at += form.marks[i].size();
    const size_t start = at;
    const std::optional<uint64_t> value = Number(text, at, form.base);
    if (!value || (form.digits != 0 && at - start != form.digits)) return std::nullopt;
    *fields[i] = *value;
  }
  if (!WordAt(text, at, form.close)) return std::nullopt;
  return n;
}

}  // namespace

std::optional<LocationNumbers> ParseLocationNumbers(std::string_view text) {
  for (size_t at = 0; at < text.size(); ++at) {
    if (auto words = Match(text, at, kWords)) return words;
    if (auto part = Match(text, at, kParts)) return part;
  }
  if (text.find("PCI bus %1") != std::string_view::npos) {
    for (size_t at = text.find(";("); at != std::string_view::npos; at = text.find(";(", at + 1)) {
      if (auto arguments = Match(text, at, kArguments)) return arguments;
    }
  }
  return std::nullopt;
}

PlaceOrProblem LocateDevice(const DeviceRecord& record) {
  std::optional<uint64_t> bus = record.bus_number;
  std::optional<uint64_t> device, function;
  if (record.address) {
    device = *record.address >> 16;
    function = *record.address & 0xFFFFu;
  }
  if (!bus || !device) {
    std::optional<LocationNumbers> found;
    if (record.location_text) found = ParseLocationNumbers(*record.location_text);
    if (!found) found = ParseLocationNumbers(record.instance_id);
    if (found) {
      if (!bus) bus = found->bus;
      if (!device) {
        device = found->device;
        function = found->function;
      }
    }
  }
  if (!bus || !device) return {};
  if (*bus > 0xFF || *device > 0x1F || *function > 0x7) {
    return {std::nullopt, "location out of range: bus " + std::to_string(*bus) + ", device " +
                              std::to_string(*device) + ", function " + std::to_string(*function)};
  }
  return {FunctionLocation{static_cast<int>(*bus), static_cast<int>(*device),
                           static_cast<int>(*function)},
          ""};
}

}  // namespace kelvox

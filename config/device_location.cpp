#include "config/device_location.h"

#include <cctype>

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

// Reads a number of at least one digit in `base` at `at`, moving `at` past it.
std::optional<uint64_t> Number(std::string_view text, size_t& at, int base) {
  uint64_t value = 0;
  const size_t start = at;
  for (; at < text.size(); ++at) {
    const char c = Lower(text[at]);
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      break;
    }
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > kTooLarge) value = kTooLarge;
  }
  if (at == start) return std::nullopt;
  return value;
}

// "PCI bus B, device D, function F" starting at `at`.
std::optional<LocationNumbers> BusDeviceFunctionWords(std::string_view text, size_t at) {
  LocationNumbers n;
  uint64_t* fields[] = {&n.bus, &n.device, &n.function};
  constexpr std::string_view kWords[] = {"PCI bus ", ", device ", ", function "};
  for (int i = 0; i < 3; ++i) {
    if (!WordAt(text, at, kWords[i])) return std::nullopt;
    at += kWords[i].size();
    const std::optional<uint64_t> value = Number(text, at, 10);
    if (!value) return std::nullopt;
    *fields[i] = *value;
  }
  return n;
}

// "BUS_bb&DEV_dd&FUNC_ff" starting at `at`.
std::optional<LocationNumbers> BusDevFuncPart(std::string_view text, size_t at) {
  LocationNumbers n;
  uint64_t* fields[] = {&n.bus, &n.device, &n.function};
  constexpr std::string_view kKeys[] = {"BUS_", "&DEV_", "&FUNC_"};
  for (int i = 0; i < 3; ++i) {
    if (!WordAt(text, at, kKeys[i])) return std::nullopt;
    at += kKeys[i].size();
    const size_t start = at;
    const std::optional<uint64_t> value = Number(text, at, 16);
    if (!value || at - start != 2) return std::nullopt;
    *fields[i] = *value;
  }
  return n;
}

// ";(B,D,F)" starting at `at`: the arguments of an indirect text as the registry stores it,
// "@System32\drivers\pci.sys,#65536;PCI bus %1, device %2, function %3;(3,0,1)".
std::optional<LocationNumbers> IndirectArguments(std::string_view text, size_t at) {
  LocationNumbers n;
  uint64_t* fields[] = {&n.bus, &n.device, &n.function};
  constexpr std::string_view kMarks[] = {";(", ",", ","};
  for (int i = 0; i < 3; ++i) {
    if (!WordAt(text, at, kMarks[i])) return std::nullopt;
    at += kMarks[i].size();
    const std::optional<uint64_t> value = Number(text, at, 10);
    if (!value) return std::nullopt;
    *fields[i] = *value;
  }
  if (!WordAt(text, at, ")")) return std::nullopt;
  return n;
}

}  // namespace

std::optional<LocationNumbers> ParseLocationNumbers(std::string_view text) {
  for (size_t at = 0; at < text.size(); ++at) {
    if (auto words = BusDeviceFunctionWords(text, at)) return words;
    if (auto part = BusDevFuncPart(text, at)) return part;
  }
  if (text.find("PCI bus %1") != std::string_view::npos) {
    for (size_t at = text.find(";("); at != std::string_view::npos; at = text.find(";(", at + 1)) {
      if (auto arguments = IndirectArguments(text, at)) return arguments;
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

#include "config/sysfs/sleeping_function.h"

#include <fcntl.h>

#include <filesystem>

#include "text/hex_digit.h"

namespace kelvox {

namespace {

namespace fs = std::filesystem;

// The attribute files hold one short line.
constexpr size_t kMaxAttributeFile = 64;

std::optional<std::string> ReadAttribute(const std::string& path, const FactsOpenFunction& open) {
  return ReadSysfsLine(path, open, kMaxAttributeFile);
}

// "0x8086" as the kernel writes an ID, with at most `digits` hex digits.
std::optional<uint32_t> ReadHexAttribute(const std::string& path, const FactsOpenFunction& open,
                                         int digits) {
  const std::optional<std::string> text = ReadAttribute(path, open);
  if (!text || !text->starts_with("0x") || text->size() < 3 ||
      text->size() > static_cast<size_t>(2 + digits)) {
    return std::nullopt;
  }
  uint32_t value = 0;
  for (size_t i = 2; i < text->size(); ++i) {
    const int digit = HexDigitValue((*text)[i]);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

// The bus the kernel numbered behind a bridge: the one folder under `pci_bus/`, "DDDD:BB".
int SecondaryBus(const std::string& folder) {
  std::error_code error;
  for (fs::directory_iterator it(folder + "/pci_bus", error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    const size_t colon = name.rfind(':');
    if (colon == std::string::npos || name.size() - colon != 3) continue;
    const int high = HexDigitValue(name[colon + 1]), low = HexDigitValue(name[colon + 2]);
    if (high >= 0 && low >= 0) return high << 4 | low;
  }
  return 0;
}

}  // namespace

bool SleepsInD3cold(const std::string& folder, const FactsOpenFunction& open) {
  return ReadAttribute(folder + "/power_state", open) == "D3cold";
}

std::optional<KeptRegisters> ReadSleepingRegisters(const std::string& folder,
                                                   const FactsOpenFunction& open) {
  if (!SleepsInD3cold(folder, open)) return std::nullopt;
  const std::optional<uint32_t> vendor = ReadHexAttribute(folder + "/vendor", open, 4);
  const std::optional<uint32_t> device = ReadHexAttribute(folder + "/device", open, 4);
  const std::optional<uint32_t> class_code = ReadHexAttribute(folder + "/class", open, 6);
  if (!vendor || !device || !class_code) return std::nullopt;
  KeptRegisters kept;
  kept.reg00 = *device << 16 | *vendor;
  const uint32_t revision = ReadHexAttribute(folder + "/revision", open, 2).value_or(0);
  kept.reg08 = *class_code << 8 | revision;
  const uint32_t base_and_sub = *class_code >> 8;
  const uint32_t layout = base_and_sub == 0x0604 || base_and_sub == 0x0609 ? 1
                          : base_and_sub == 0x0607                         ? 2
                                                                           : 0;
  kept.reg0c = layout << 16;
  if (layout != 0) kept.reg18 = static_cast<uint32_t>(SecondaryBus(folder)) << 8;
  const std::optional<uint32_t> subsystem_vendor =
      ReadHexAttribute(folder + "/subsystem_vendor", open, 4);
  const std::optional<uint32_t> subsystem = ReadHexAttribute(folder + "/subsystem_device", open, 4);
  if (subsystem_vendor && subsystem) kept.reg2c = *subsystem << 16 | *subsystem_vendor;
  return kept;
}

}  // namespace kelvox

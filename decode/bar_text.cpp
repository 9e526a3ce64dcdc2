#include "decode/bar_text.h"

#include <cstdio>

namespace kelvox {
namespace {

const char* MemoryTypeText(MemoryType type) {
  switch (type) {
    case MemoryType::k32Bit:
      return "32bit memory space";
    case MemoryType::kBelow1M:
      return "1MB memory space";
    case MemoryType::k64Bit:
      return "64bit memory space";
    case MemoryType::kReserved:
      break;
  }
  return "reserved";
}

std::string Printed(const char* format, uint32_t start, uint32_t end, const char* tail) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned long>(start),
                static_cast<unsigned long>(end), tail);
  return buffer;
}

}  // namespace

std::string FormatBarRange(const BarRange& range) {
  switch (range.kind) {
    case BarKind::kExpansionRom:
      return Printed("%08lx - %08lx : %s", range.start, range.end,
                     range.decode_enabled ? "address decode enable" : "");
    case BarKind::kIo:
      return Printed("%04lx - %04lx : %s", range.start, range.end, "I/O space");
    case BarKind::kMemory:
      break;
  }
  std::string text = Printed("%08lx - %08lx : %s", range.start, range.end, "");
  text += MemoryTypeText(range.memory_type);
  if (range.prefetchable) text += " : prefetchable";
  return text;
}

}  // namespace kelvox

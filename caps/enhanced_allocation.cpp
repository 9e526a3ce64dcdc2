// Enhanced Allocation (capability 0x14): how many entries it holds, and for each its enable,
// writable and size fields and which BAR it stands for.
#include <array>
#include <string>

#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

// The keys and labels of the entries, "entry0" and "Entry 0" to the 63rd: fields name them,
// so they are made once.
struct EntryNameTable {
  std::array<std::string, 64> keys, labels;
  EntryNameTable() {
    for (size_t i = 0; i < keys.size(); ++i) {
      keys[i] = "entry" + std::to_string(i);
      labels[i] = "Entry " + std::to_string(i);
    }
  }
};

const EntryNameTable& EntryNames() {
  static const EntryNameTable table;
  return table;
}

}  // namespace

void DecodeEnhancedAllocation(const ConfigSpace& space, const FunctionContext& function,
                              Capability& cap) {
  if (!RequireBytes(space, cap, 4)) return;
  const int entries = space.Byte(cap.offset + 2) & 0x3F;
  cap.summary = "NumEntries=" + std::to_string(entries);
  cap.fields.push_back(Hidden(Number("entries", "NumEntries", entries, std::to_string(entries))));
  // A bridge's capability has a dword of fixed bus numbers before the entries.
  int at = cap.offset + (function.header_layout == 1 ? 8 : 4);
  for (int i = 0; i < entries; ++i) {
    if (!space.Readable(at, 4)) {
      cap.problem = "entry " + std::to_string(i) + " runs past the readable bytes";
      return;
    }
    const uint32_t header = space.Dword(at);
    const int size = static_cast<int>(header & 7);
    const int bei = static_cast<int>(header >> 4 & 0xF);
    std::vector<CapField> fields = Fields(Flag("enabled", "Enable", (header >> 31 & 1) != 0),
                                          Flag("writable", "Writable", (header >> 30 & 1) != 0));
    std::string text = FlagsText(fields) + " EntrySize=" + std::to_string(size) +
                       "\n BAR Equivalent Indicator: BAR " + std::to_string(bei);
    fields.push_back(Number("entry_size", "EntrySize", size, std::to_string(size)));
    fields.push_back(
        Number("bar_equivalent", "BAR Equivalent Indicator", bei, std::to_string(bei)));
    cap.fields.push_back(Register(EntryNames().keys[static_cast<size_t>(i)],
                                  EntryNames().labels[static_cast<size_t>(i)], std::move(text),
                                  std::move(fields)));
    at += 4 + 4 * size;
  }
}

}  // namespace kelvox

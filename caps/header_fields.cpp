#include "caps/header_fields.h"

#include <string>

#include "caps/cap_field.h"

namespace kelvox {

namespace {

constexpr const char* kDevselTimings[] = {"fast", "medium", "slow", "??"};

CapField CommandRegister(uint16_t command) {
  std::vector<CapField> flags = FlagsOf(command, {{"io", "I/O", 0},
                                                  {"memory", "Mem", 1},
                                                  {"bus_master", "BusMaster", 2},
                                                  {"special_cycles", "SpecCycle", 3},
                                                  {"memory_write_invalidate", "MemWINV", 4},
                                                  {"vga_snoop", "VGASnoop", 5},
                                                  {"parity_error_response", "ParErr", 6},
                                                  {"stepping", "Stepping", 7},
                                                  {"serr", "SERR", 8},
                                                  {"fast_back_to_back", "FastB2B", 9},
                                                  {"interrupt_disable", "DisINTx", 10}});
  std::string text = FlagsText(flags);
  return Register("command", "Control", std::move(text), std::move(flags));
}

// The status bits a device and a bridge's secondary side share, DEVSEL's timing among them.
std::vector<CapField> StatusFlags(uint16_t status, bool secondary) {
  std::vector<CapField> flags;
  if (!secondary) flags.push_back(Flag("capability_list", "Cap", (status & 1 << 4) != 0));
  for (CapField& flag : FlagsOf(status, {{"mhz66", "66MHz", 5}})) flags.push_back(flag);
  if (!secondary) flags.push_back(Flag("udf", "UDF", (status & 1 << 6) != 0));
  for (CapField& flag : FlagsOf(status, {{"fast_back_to_back", "FastB2B", 7},
                                         {"master_data_parity_error", "ParErr", 8}})) {
    flags.push_back(flag);
  }
  const char* timing = kDevselTimings[status >> 9 & 3];
  CapField devsel = Text("devsel", "DEVSEL", timing);
  devsel.text = std::string("DEVSEL=") + timing;
  flags.push_back(devsel);
  for (CapField& flag :
       FlagsOf(status, {{"signaled_target_abort", ">TAbort", 11},
                        {"received_target_abort", "<TAbort", 12},
                        {"received_master_abort", "<MAbort", 13},
                        {secondary ? "received_system_error" : "signaled_system_error",
                         secondary ? "<SERR" : ">SERR", 14},
                        {"detected_parity_error", "<PERR", 15}})) {
    flags.push_back(flag);
  }
  if (!secondary) flags.push_back(Flag("interrupt_status", "INTx", (status & 1 << 3) != 0));
  return flags;
}

// A region's field: its text ("Memory at fe000000 (32-bit, prefetchable) [size=8M]") and
// values.
CapField RegionField(std::string_view label, std::string text, std::vector<CapField> values) {
  return Register("region", label, std::move(text), std::move(values));
}

// The size a base address register's sizing read-back gives over `mask`'s address bits (with
// the upper half's read-back for a 64-bit register); 0 when it was not sized or decodes nothing.
uint64_t SizeOf(std::optional<uint32_t> low, std::optional<uint32_t> high, uint32_t mask) {
  if (!low || (*low & mask) == 0) return 0;
  const uint64_t bits =
      static_cast<uint64_t>(*low & mask) | static_cast<uint64_t>(high.value_or(0xFFFFFFFFu)) << 32;
  return ~bits + 1;
}

// lspci's size word: "512K", in the largest unit that divides the size.
std::string SizeWord(uint64_t bytes) {
  static constexpr const char* kUnits[] = {"", "K", "M", "G", "T"};
  int unit = 0;
  while (unit < 4 && bytes != 0 && bytes % 1024 == 0) {
    bytes /= 1024;
    ++unit;
  }
  return std::to_string(bytes) + kUnits[unit];
}

CapField SizeField(uint64_t bytes) {
  return Number("size", "Size", static_cast<int64_t>(bytes), SizeWord(bytes));
}

void AddRegions(const ConfigSpace& space, int layout, const RegionSizing& sizing,
                std::vector<CapField>& fields) {
  const uint16_t command = space.Word(0x04);
  const bool io_on = (command & 1) != 0, memory_on = (command & 2) != 0;
  const int count = layout == 0 ? 6 : layout == 1 ? 2 : 1;
  for (int i = 0; i < count; ++i) {
    const int at = 0x10 + 4 * i;
    uint32_t value = space.Dword(at);
    if (value == 0xFFFFFFFF) value = 0;
    const std::optional<uint32_t> readback = sizing[i];
    const bool io = (value & 1) != 0;
    static constexpr const char* kLabels[] = {"Region 0", "Region 1", "Region 2",
                                              "Region 3", "Region 4", "Region 5"};
    const std::string_view label = kLabels[i];
    std::vector<CapField> values;
    values.push_back(Number("index", "Index", i, std::to_string(i)));
    if (io) {
      const uint32_t address = value & ~3u;
      // A decoder of 16 address bits reads the upper half back as 0.
      const std::optional<uint32_t> sized =
          readback && (*readback >> 16) == 0 ? std::optional(*readback | 0xFFFF0000u) : readback;
      const uint64_t size = SizeOf(sized, std::nullopt, ~3u);
      std::string text = "I/O ports at ";
      text += address != 0 || io_on ? Hex(address, 4) : "<unassigned>";
      if (!io_on) text += " [disabled]";
      text += SizeText(size);
      values.push_back(Text("kind", "Kind", "io"));
      values.push_back(Number("address", "Address", address, Hex(address, 4)));
      values.push_back(Flag("disabled", "Disabled", !io_on));
      if (size != 0) values.push_back(SizeField(size));
      fields.push_back(RegionField(label, std::move(text), std::move(values)));
      continue;
    }
    const int type = value >> 1 & 3;
    const bool wide = type == 2;
    const bool prefetchable = (value & 8) != 0;
    uint64_t address = value & ~0xFu;
    std::optional<uint32_t> high_readback;
    bool broken = false;
    if (wide) {
      if (i + 1 < count) {
        ++i;
        address |= static_cast<uint64_t>(space.Dword(0x10 + 4 * i)) << 32;
        high_readback = sizing[i];
      } else {
        broken = true;
      }
    }
    if (value == 0 && (!readback || (*readback & ~0xFu) == 0)) continue;
    const uint64_t size = SizeOf(readback, wide ? high_readback : std::nullopt, ~0xFu);
    const char* width = type == 0 ? "32-bit" : type == 1 ? "low-1M" : wide ? "64-bit" : "type 3";
    std::string text = "Memory at ";
    text += broken ? "<broken-64-bit-slot>" : address != 0 ? Hex(address, 8) : "<unassigned>";
    text += std::string(" (") + width + ", " + (prefetchable ? "" : "non-") + "prefetchable)";
    if (!memory_on) text += " [disabled]";
    text += SizeText(size);
    values.push_back(Text("kind", "Kind", "memory"));
    values.push_back(Number("address", "Address", static_cast<int64_t>(address), Hex(address, 8)));
    values.push_back(Number("bits", "Bits", wide ? 64 : 32, width));
    values.push_back(Flag("prefetchable", "Prefetchable", prefetchable));
    values.push_back(Flag("disabled", "Disabled", !memory_on));
    if (size != 0) values.push_back(SizeField(size));
    fields.push_back(RegionField(label, std::move(text), std::move(values)));
  }
}

void AddExpansionRom(const ConfigSpace& space, int layout, const RegionSizing& sizing,
                     std::vector<CapField>& fields) {
  if (layout == 2) return;
  const int at = layout == 0 ? 0x30 : 0x38;
  const uint32_t value = space.Dword(at);
  const uint32_t address = value & 0xFFFFF800u;
  // A bridge's ROM register is not among the sized ones.
  const std::optional<uint32_t> readback = layout == 0 ? sizing[6] : std::nullopt;
  const uint64_t size = SizeOf(readback, std::nullopt, 0xFFFFF800u);
  if (value == 0 && size == 0) return;
  const bool enabled = (value & 1) != 0;
  std::string text = "at ";
  text += address != 0 ? Hex(address, 8) : "<unassigned>";
  if (!enabled) {
    text += " [disabled]";
  } else if ((space.Word(0x04) & 2) == 0) {
    text += " [disabled by cmd]";
  }
  text += SizeText(size);
  std::vector<CapField> values =
      Fields(Number("index", "Index", 6, "ROM"), Text("kind", "Kind", "rom"),
             Number("address", "Address", address, Hex(address, 8)),
             Flag("disabled", "Disabled", !enabled));
  if (size != 0) values.push_back(SizeField(size));
  CapField rom = RegionField("Expansion ROM", std::move(text), std::move(values));
  rom.joiner = " ";
  fields.push_back(std::move(rom));
}

// A window a bridge forwards: "fe800000-fe9fffff [size=2M] [32-bit]", or "[disabled]" when
// its base lies above its limit.
CapField Window(const char* key, const char* label, uint64_t base, uint64_t limit, int digits,
                int bits) {
  std::string text;
  const bool open = base <= limit;
  if (open) text = Hex(base, digits) + "-" + Hex(limit, digits);
  text += open ? SizeText(limit - base + 1) : "[disabled]";
  if (bits != 0) text += " [" + std::to_string(bits) + "-bit]";
  if (!text.empty() && text.front() == ' ') text.erase(0, 1);
  std::vector<CapField> values = Fields(Flag("enabled", "Enabled", open));
  if (open) {
    values.push_back(Number("base", "Base", static_cast<int64_t>(base), Hex(base, digits)));
    values.push_back(Number("limit", "Limit", static_cast<int64_t>(limit), Hex(limit, digits)));
  }
  if (bits != 0) values.push_back(Number("bits", "Bits", bits, std::to_string(bits) + "-bit"));
  return Register(key, label, std::move(text), std::move(values));
}

// A bridge's buses, windows and secondary status; its expansion ROM goes between those and its
// bridge control register, where lspci writes it.
void AddBridge(const ConfigSpace& space, const RegionSizing& sizing,
               std::vector<CapField>& fields) {
  const int primary = space.Byte(0x18), secondary = space.Byte(0x19);
  const int subordinate = space.Byte(0x1A), latency = space.Byte(0x1B);
  fields.push_back(Register(
      "bus", "Bus",
      "primary=" + Hex(primary, 2) + ", secondary=" + Hex(secondary, 2) +
          ", subordinate=" + Hex(subordinate, 2) + ", sec-latency=" + std::to_string(latency),
      Fields(Number("primary", "primary", primary, Hex(primary, 2)),
             Number("secondary", "secondary", secondary, Hex(secondary, 2)),
             Number("subordinate", "subordinate", subordinate, Hex(subordinate, 2)),
             Number("secondary_latency", "sec-latency", latency, std::to_string(latency)))));

  const uint8_t io_base = space.Byte(0x1C), io_limit = space.Byte(0x1D);
  const int io_type = io_base & 0xF;
  if (io_type == (io_limit & 0xF) && (io_type == 0 || io_type == 1)) {
    uint64_t base = static_cast<uint64_t>(io_base & 0xF0) << 8;
    uint64_t limit = static_cast<uint64_t>(io_limit & 0xF0) << 8 | 0xFFF;
    if (io_type == 1) {
      base |= static_cast<uint64_t>(space.Word(0x30)) << 16;
      limit |= static_cast<uint64_t>(space.Word(0x32)) << 16;
    }
    fields.push_back(Window("io_window", "I/O behind bridge", base, limit, io_type == 1 ? 8 : 4,
                            io_type == 1 ? 32 : 16));
  }

  const uint16_t memory_base = space.Word(0x20), memory_limit = space.Word(0x22);
  if ((memory_base & 0xF) == 0 && (memory_limit & 0xF) == 0) {
    fields.push_back(Window("memory_window", "Memory behind bridge",
                            static_cast<uint64_t>(memory_base & 0xFFF0) << 16,
                            static_cast<uint64_t>(memory_limit & 0xFFF0) << 16 | 0xFFFFF, 8, 32));
  }

  const uint16_t prefetch_base = space.Word(0x24), prefetch_limit = space.Word(0x26);
  const int prefetch_type = prefetch_base & 0xF;
  if (prefetch_type == (prefetch_limit & 0xF) && (prefetch_type == 0 || prefetch_type == 1)) {
    uint64_t base = static_cast<uint64_t>(prefetch_base & 0xFFF0) << 16;
    uint64_t limit = static_cast<uint64_t>(prefetch_limit & 0xFFF0) << 16 | 0xFFFFF;
    if (prefetch_type == 1) {
      base |= static_cast<uint64_t>(space.Dword(0x28)) << 32;
      limit |= static_cast<uint64_t>(space.Dword(0x2C)) << 32;
    }
    fields.push_back(Window("prefetchable_window", "Prefetchable memory behind bridge", base, limit,
                            prefetch_type == 1 ? 16 : 8, prefetch_type == 1 ? 64 : 32));
  }

  std::vector<CapField> status = StatusFlags(space.Word(0x1E), true);
  std::string status_text = FlagsText(status);
  fields.push_back(
      Register("secondary_status", "Secondary status", std::move(status_text), std::move(status)));
  AddExpansionRom(space, 1, sizing, fields);

  const uint16_t control = space.Word(0x3E);
  std::vector<CapField> first = FlagsOf(control, {{"parity_error_response", "Parity", 0},
                                                  {"serr", "SERR", 1},
                                                  {"no_isa", "NoISA", 2},
                                                  {"vga", "VGA", 3},
                                                  {"vga16", "VGA16", 4},
                                                  {"master_abort", "MAbort", 5},
                                                  {"secondary_reset", ">Reset", 6},
                                                  {"fast_back_to_back", "FastB2B", 7}});
  std::vector<CapField> second = FlagsOf(control, {{"primary_discard_timer", "PriDiscTmr", 8},
                                                   {"secondary_discard_timer", "SecDiscTmr", 9},
                                                   {"discard_timer_status", "DiscTmrStat", 10},
                                                   {"discard_timer_serr", "DiscTmrSERREn", 11}});
  std::string text = FlagsText(first) + "\n" + FlagsText(second);
  first.insert(first.end(), second.begin(), second.end());
  fields.push_back(Register("bridge_control", "BridgeCtl", std::move(text), std::move(first)));
}

}  // namespace

std::string SizeText(uint64_t bytes) { return bytes == 0 ? "" : " [size=" + SizeWord(bytes) + "]"; }

std::vector<CapField> DecodeHeaderFields(const ConfigSpace& space, const RegionSizing& sizing) {
  std::vector<CapField> fields;
  if (!space.Readable(0, 64)) return fields;
  fields.push_back(CommandRegister(space.Word(0x04)));
  std::vector<CapField> status = StatusFlags(space.Word(0x06), false);
  std::string status_text = FlagsText(status);
  fields.push_back(Register("status", "Status", std::move(status_text), std::move(status)));
  const int layout = space.Byte(0x0E) & 0x7F;
  if (layout > 2) return fields;
  AddRegions(space, layout, sizing, fields);
  if (layout == 1) {
    AddBridge(space, sizing, fields);
  } else {
    AddExpansionRom(space, layout, sizing, fields);
  }
  return fields;
}

}  // namespace kelvox

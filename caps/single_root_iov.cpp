// Single Root I/O Virtualization (extended capability 0x0010): what the physical function
// offers its virtual functions and what is enabled, how many there are (initial, total, enabled
// now), where they sit (first VF offset and stride, as routing IDs), their device ID, the page
// sizes, and the virtual functions' base address registers as the physical function holds them
// (one VF's addresses; the sizes are per VF, which the access method does not size).
#include "caps/cap_field.h"
#include "caps/decoders.h"
#include "text/concat.h"

namespace kelvox {

namespace {

// The VF base address registers: each memory region at its whole address, 64-bit ones with the
// register after them as their upper half.
void AddVfRegions(const ConfigSpace& space, int at, Capability& cap) {
  static constexpr const char* kKeys[] = {"vf_bar0", "vf_bar1", "vf_bar2",
                                          "vf_bar3", "vf_bar4", "vf_bar5"};
  static constexpr const char* kLabels[] = {"Region 0", "Region 1", "Region 2",
                                            "Region 3", "Region 4", "Region 5"};
  CapField regions = Register("vf_bars", "VF BARs", "");
  regions.shown = false;
  regions.list = true;
  for (int i = 0; i < 6; ++i) {
    const uint32_t value = space.Dword(at + 0x24 + 4 * i);
    if (value == 0) continue;
    const bool wide = (value >> 1 & 3) == 2 && i + 1 < 6;
    const bool prefetchable = (value & 8) != 0;
    uint64_t address = value & ~0xFu;
    const int index = i;
    if (wide) address |= static_cast<uint64_t>(space.Dword(at + 0x24 + 4 * ++i)) << 32;
    std::string text = Concat("Memory at ", Hex(address, 8), wide ? " (64-bit, " : " (32-bit, ",
                              prefetchable ? "prefetchable)" : "non-prefetchable)");
    CapField region = Register(
        kKeys[index], kLabels[index], std::move(text),
        Fields(Number("index", "Index", index, std::to_string(index)),
               Number("address", "Address", static_cast<int64_t>(address), Hex(address, 8)),
               Number("bits", "Bits", wide ? 64 : 32, wide ? "64-bit" : "32-bit"),
               Flag("prefetchable", "Prefetchable", prefetchable)));
    cap.fields.push_back(region);
    regions.children.push_back(std::move(region));
  }
  cap.fields.push_back(std::move(regions));
}

}  // namespace

void DecodeSingleRootIov(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 0x40)) return;
  const int at = cap.offset;
  const uint32_t capabilities = space.Dword(at + 0x04);
  const int message = static_cast<int>(capabilities >> 21);
  std::vector<CapField> offered = FlagsOf(
      capabilities, {{"migration", "Migration", 0}, {"ten_bit_tag_requester", "10BitTagReq", 2}});
  std::string text = Concat(FlagsText(offered),
                            " Interrupt Message Number: ", Hex(static_cast<uint32_t>(message), 3));
  offered.push_back(Number("interrupt_message", "Interrupt Message Number", message,
                           Hex(static_cast<uint32_t>(message), 3)));
  cap.fields.reserve(16);  // the registers, the values repeated at the top, the VF BARs
  cap.fields.push_back(Register("capabilities", "IOVCap", std::move(text), std::move(offered)));
  cap.fields.push_back(
      FlagsRegister("control", "IOVCtl",
                    FlagsOf(space.Word(at + 0x08), {{"vf_enable", "Enable", 0},
                                                    {"migration", "Migration", 1},
                                                    {"migration_interrupt", "Interrupt", 2},
                                                    {"vf_memory_space", "MSE", 3},
                                                    {"ari_hierarchy", "ARIHierarchy", 4},
                                                    {"ten_bit_tag_requester", "10BitTagReq", 5}})));
  cap.fields.push_back(FlagsRegister(
      "status", "IOVSta", FlagsOf(space.Word(at + 0x0A), {{"migration", "Migration", 0}})));

  const int initial = space.Word(at + 0x0C), total = space.Word(at + 0x0E);
  const int enabled = space.Word(at + 0x10), link = space.Byte(at + 0x12);
  cap.fields.push_back(Register(
      "counts", "",
      Concat("Initial VFs: ", std::to_string(initial), ", Total VFs: ", std::to_string(total),
             ", Number of VFs: ", std::to_string(enabled),
             ", Function Dependency Link: ", Hex(static_cast<uint32_t>(link), 2)),
      Fields(Number("initial_vfs", "Initial VFs", initial, std::to_string(initial)),
             Number("total_vfs", "Total VFs", total, std::to_string(total)),
             Number("num_vfs", "Number of VFs", enabled, std::to_string(enabled)),
             Number("function_dependency_link", "Function Dependency Link", link,
                    Hex(static_cast<uint32_t>(link), 2)))));
  // The values scripts ask for, at the capability's top level too.
  cap.fields.push_back(
      Hidden(Number("initial_vfs", "Initial VFs", initial, std::to_string(initial))));
  cap.fields.push_back(Hidden(Number("total_vfs", "Total VFs", total, std::to_string(total))));
  cap.fields.push_back(
      Hidden(Number("num_vfs", "Number of VFs", enabled, std::to_string(enabled))));

  const int offset = space.Word(at + 0x14), stride = space.Word(at + 0x16);
  const std::string device = Hex(space.Word(at + 0x1A), 4);
  cap.fields.push_back(
      Register("placement", "",
               Concat("VF offset: ", std::to_string(offset), ", stride: ", std::to_string(stride),
                      ", Device ID: ", device),
               Fields(Number("vf_offset", "VF offset", offset, std::to_string(offset)),
                      Number("vf_stride", "stride", stride, std::to_string(stride)),
                      Text("vf_device_id", "Device ID", device))));
  cap.fields.push_back(Hidden(Number("vf_offset", "VF offset", offset, std::to_string(offset))));
  cap.fields.push_back(Hidden(Number("vf_stride", "stride", stride, std::to_string(stride))));
  cap.fields.push_back(Hidden(Text("vf_device_id", "Device ID", device)));

  const uint32_t supported = space.Dword(at + 0x1C), system = space.Dword(at + 0x20);
  cap.fields.push_back(Register(
      "page_sizes", "",
      Concat("Supported Page Size: ", Hex(supported, 8), ", System Page Size: ", Hex(system, 8)),
      Fields(Number("supported", "Supported Page Size", supported, Hex(supported, 8)),
             Number("system", "System Page Size", system, Hex(system, 8)))));
  AddVfRegions(space, at, cap);
  const uint32_t migration = space.Dword(at + 0x3C);
  cap.fields.push_back(Register(
      "vf_migration", "VF Migration",
      Concat("offset: ", Hex(migration & ~7u, 8), ", BIR: ", std::to_string(migration & 7)),
      Fields(Number("offset", "offset", migration & ~7u, Hex(migration & ~7u, 8)),
             Number("bir", "BIR", migration & 7, std::to_string(migration & 7)))));
}

}  // namespace kelvox

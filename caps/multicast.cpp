// Multicast (extended capability 0x0012): how many multicast groups the function supports and
// uses, the base of the multicast address range, which groups it receives and blocks, and for
// a root port or a switch port the overlay that retargets multicast writes, as lspci -vv
// writes them.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

constexpr int kEndpoint = 0, kRootPort = 4, kDownstreamPort = 6, kIntegratedEndpoint = 9;

uint64_t Qword(const ConfigSpace& space, int at) {
  return static_cast<uint64_t>(space.Dword(at + 4)) << 32 | space.Dword(at);
}

// "N (2^N bytes)": a size given as a power of two.
std::string PowerOfTwoText(int power) {
  return std::to_string(power) + " (" + std::to_string(uint64_t{1} << power) + " bytes)";
}

// The bytes of a size of 2^power, -1 where that does not fit a JSON integer.
int64_t PowerOfTwoBytes(int power) { return power < 63 ? int64_t{1} << power : -1; }

}  // namespace

void DecodeMulticast(const ConfigSpace& space, const FunctionContext& function, Capability& cap) {
  const int type = function.express_type;
  const bool port = type >= kRootPort && type <= kDownstreamPort;
  if (!RequireBytes(space, cap, port ? 0x30 : 0x28)) return;
  const uint16_t capability = space.Word(cap.offset + 4), control = space.Word(cap.offset + 6);
  const int max_groups = (capability & 0x3F) + 1;
  std::vector<CapField> fields;
  fields.push_back(Number("max_groups", "MaxGroups", max_groups, std::to_string(max_groups)));
  std::string text = "MaxGroups " + std::to_string(max_groups);
  if (type == kEndpoint || type == kIntegratedEndpoint) {
    // The size of the multicast window an endpoint asks for.
    const int window = capability >> 8 & 0x3F;
    fields.push_back(
        Number("window_size", "WindowSz", PowerOfTwoBytes(window), PowerOfTwoText(window)));
    text += ", WindowSz " + PowerOfTwoText(window);
  } else if (port) {
    const bool regenerates = (capability & 0x8000) != 0;
    fields.push_back(Flag("ecrc_regeneration", "ECRCRegen", regenerates));
    text += ", " + FlagText("ECRCRegen", regenerates);
  }
  cap.fields.push_back(Register("capabilities", "McastCap", std::move(text), std::move(fields)));
  const int groups = (control & 0x3F) + 1;
  const bool enabled = (control & 0x8000) != 0;
  cap.fields.push_back(
      Register("control", "McastCtl",
               "NumGroups " + std::to_string(groups) + ", " + FlagText("Enable", enabled),
               Fields(Number("groups", "NumGroups", groups, std::to_string(groups)),
                      Flag("enabled", "Enable", enabled))));
  const uint64_t base = Qword(space, cap.offset + 8);
  const int index = static_cast<int>(base & 0x3F);
  const uint64_t base_address = base & ~uint64_t{0xFFF};
  cap.fields.push_back(
      Register("base", "McastBAR",
               "IndexPos " + std::to_string(index) + ", BaseAddr " + Hex(base_address, 16),
               Fields(Number("index_position", "IndexPos", index, std::to_string(index)),
                      Text("address", "BaseAddr", Hex(base_address, 16)))));
  cap.fields.push_back(
      Text("receive", "McastReceiveVec", Hex(Qword(space, cap.offset + 0x10), 16)));
  cap.fields.push_back(
      Text("block_all", "McastBlockAllVec", Hex(Qword(space, cap.offset + 0x18), 16)));
  cap.fields.push_back(
      Text("block_untranslated", "McastBlockUntransVec", Hex(Qword(space, cap.offset + 0x20), 16)));
  if (!port) return;
  const uint64_t overlay = Qword(space, cap.offset + 0x28);
  const int size = static_cast<int>(overlay & 0x3F);
  const uint64_t overlay_address = overlay & ~uint64_t{0x3F};
  // An overlay of fewer than 64 bytes is off.
  const std::string size_text =
      size < 6 ? std::to_string(size) + " (disabled)" : PowerOfTwoText(size);
  cap.fields.push_back(Register(
      "overlay", "McastOverlayBAR",
      "OverlaySize " + size_text + ", BaseAddr " + Hex(overlay_address, 16),
      Fields(Number("size", "OverlaySize", size < 6 ? 0 : PowerOfTwoBytes(size), size_text),
             Text("address", "BaseAddr", Hex(overlay_address, 16)))));
}

}  // namespace kelvox

// Resizable BAR (extended capability 0x0015) and its virtual functions' form (0x0024): for each
// base address register it covers, the size it is set to now and every size it supports, 1MB
// to 8EB, as lspci -vv writes them ("BAR 0: current size: 256MB, supported: 256MB 512MB").
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

// 1MB << `power`, as lspci writes a BAR size: "256MB", "16GB", "1TB".
std::string BarSizeText(int power) {
  static constexpr const char* kUnits[] = {"MB", "GB", "TB", "PB", "EB", "ZB", "YB"};
  return std::to_string(1ull << (power % 10)) + kUnits[power / 10];
}

}  // namespace

void DecodeResizableBar(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 12)) return;
  const int count = static_cast<int>(space.Dword(cap.offset + 8) >> 5 & 7);
  if (count < 1 || count > 6) {
    cap.problem = "it says it covers " + std::to_string(count) + " BARs, not 1 to 6";
    return;
  }
  if (!RequireBytes(space, cap, 4 + 8 * count)) return;
  CapField bars = Register("bars", "BARs", "");
  bars.shown = false;
  bars.list = true;
  for (int i = 0; i < count; ++i) {
    const uint32_t supported = space.Dword(cap.offset + 4 + 8 * i);
    const uint32_t control = space.Dword(cap.offset + 8 + 8 * i);
    const int bar = static_cast<int>(control & 7);
    const int current = static_cast<int>(control >> 8 & 0x3F);
    std::string text = "current size: " + BarSizeText(current) + ", supported:";
    // Sizes of 1MB << 0..27 in the capability register, of 256TB << 0..15 in the control
    // register's upper half.
    std::vector<uint64_t> bytes;
    std::string sizes;
    const auto add = [&](int power) {
      sizes += (sizes.empty() ? "" : " ") + BarSizeText(power);
      bytes.push_back(uint64_t{1} << (20 + power));
    };
    for (int bit = 4; bit < 32; ++bit) {
      if ((supported >> bit & 1) != 0) add(bit - 4);
    }
    for (int bit = 16; bit < 32; ++bit) {
      if ((control >> bit & 1) != 0) add(28 + bit - 16);
    }
    text += sizes.empty() ? "" : " " + sizes;
    CapField supported_sizes = Text("supported_sizes", "supported", sizes);
    supported_sizes.value = std::move(bytes);
    static constexpr const char* kKeys[] = {"bar0", "bar1", "bar2", "bar3",
                                            "bar4", "bar5", "bar6", "bar7"};
    static constexpr const char* kLabels[] = {"BAR 0", "BAR 1", "BAR 2", "BAR 3",
                                              "BAR 4", "BAR 5", "BAR 6", "BAR 7"};
    // Sizes past 2^62 bytes do not fit a JSON integer; a register never holds them in use.
    const int64_t current_bytes = current + 20 < 63 ? int64_t{1} << (current + 20) : -1;
    CapField entry =
        Register(kKeys[bar], kLabels[bar], text,
                 Fields(Number("bar", "BAR", bar, std::to_string(bar)),
                        Number("current_size", "current size", current_bytes, BarSizeText(current)),
                        std::move(supported_sizes)));
    cap.fields.push_back(entry);
    bars.children.push_back(std::move(entry));
  }
  cap.fields.push_back(std::move(bars));
}

}  // namespace kelvox

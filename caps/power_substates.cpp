// L1 PM Substates (extended capability 0x001E): which L1 substates the port supports and has
// enabled, the common-mode restore and power-on times and the LTR threshold of L1.2, as
// lspci -vv writes them.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

std::vector<CapField> Substates(uint32_t value) {
  return FlagsOf(value, {{"pci_pm_l1_2", "PCI-PM_L1.2", 0},
                         {"pci_pm_l1_1", "PCI-PM_L1.1", 1},
                         {"aspm_l1_2", "ASPM_L1.2", 2},
                         {"aspm_l1_1", "ASPM_L1.1", 3}});
}

// A power-on time: a value of 5 bits in units of 2, 10 or 100 µs; nothing for the reserved unit.
std::string PowerOnTime(int scale, int value, int64_t& microseconds) {
  static constexpr int kUnits[] = {2, 10, 100, 0};
  if (kUnits[scale] == 0) {
    microseconds = -1;
    return "<error>";
  }
  microseconds = static_cast<int64_t>(value) * kUnits[scale];
  return std::to_string(microseconds) + "us";
}

}  // namespace

void DecodeL1Substates(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 16)) return;
  const uint32_t capability = space.Dword(cap.offset + 4);
  const bool l1_2 = (capability & 0x5) != 0;
  std::vector<CapField> offered = Substates(capability);
  offered.push_back(Flag("l1_pm_substates", "L1_PM_Substates", (capability & 0x10) != 0));
  std::string text = FlagsText(offered);
  if (l1_2) {
    const int restore = static_cast<int>(capability >> 8 & 0xFF);
    int64_t on = 0;
    const std::string on_text = PowerOnTime(static_cast<int>(capability >> 16 & 3),
                                            static_cast<int>(capability >> 19 & 0x1F), on);
    text += "\n PortCommonModeRestoreTime=" + std::to_string(restore) +
            "us PortTPowerOnTime=" + on_text;
    offered.push_back(Number("port_common_mode_restore_us", "PortCommonModeRestoreTime", restore,
                             std::to_string(restore) + "us"));
    offered.push_back(Number("port_power_on_us", "PortTPowerOnTime", on, on_text));
  }
  cap.fields.push_back(Register("capabilities", "L1SubCap", std::move(text), std::move(offered)));

  const uint32_t control = space.Dword(cap.offset + 8);
  std::vector<CapField> enabled = Substates(control);
  std::string control_text = FlagsText(enabled);
  if (l1_2) {
    const int common = static_cast<int>(control >> 8 & 0xFF);
    static constexpr int64_t kScales[] = {1, 32, 1024, 32768, 1048576, 33554432};
    const int scale = static_cast<int>(control >> 29);
    const int64_t threshold =
        scale < 6 ? static_cast<int64_t>(control >> 16 & 0x3FF) * kScales[scale] : -1;
    const std::string threshold_text = threshold < 0 ? "<error>" : std::to_string(threshold) + "ns";
    control_text += "\n T_CommonMode=" + std::to_string(common) + "us";
    enabled.push_back(
        Number("common_mode_us", "T_CommonMode", common, std::to_string(common) + "us"));
    // The threshold is ASPM L1.2's.
    if ((capability & 0x4) != 0) {
      control_text += " LTR1.2_Threshold=" + threshold_text;
      enabled.push_back(
          Number("ltr_l1_2_threshold_ns", "LTR1.2_Threshold", threshold, threshold_text));
    }
  }
  cap.fields.push_back(
      Register("control1", "L1SubCtl1", std::move(control_text), std::move(enabled)));
  // The power-on time is L1.2's: without L1.2 the register says nothing.
  const uint32_t control2 = space.Dword(cap.offset + 12);
  CapField second = Register("control2", "L1SubCtl2", "");
  if (l1_2) {
    int64_t on = 0;
    const std::string on_text =
        PowerOnTime(static_cast<int>(control2 & 3), static_cast<int>(control2 >> 3 & 0x1F), on);
    second.text = "T_PwrOn=" + on_text;
    second.children.push_back(Number("power_on_us", "T_PwrOn", on, on_text));
  }
  cap.fields.push_back(std::move(second));
}

}  // namespace kelvox

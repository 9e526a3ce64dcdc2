// The capabilities that take a line or two: Slot Identification (0x04), Debug Port (0x0A),
// Bridge Subsystem Vendor ID (0x0D), SATA Data/Index Configuration (0x12) and Advanced Features
// (0x13), as lspci prints them.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

void DecodeSlotId(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 4)) return;
  const uint8_t slots = space.Byte(cap.offset + 2);
  const uint8_t chassis = space.Byte(cap.offset + 3);
  const CapField first = Flag("first_in_chassis", "First", (slots & 0x20) != 0);
  cap.summary =
      std::to_string(slots & 0x1F) + " slots, " + first.text + ", chassis " + Hex(chassis, 2);
  cap.fields.push_back(
      Hidden(Number("slots", "slots", slots & 0x1F, std::to_string(slots & 0x1F))));
  cap.fields.push_back(Hidden(first));
  cap.fields.push_back(Hidden(Number("chassis", "chassis", chassis, Hex(chassis, 2))));
}

void DecodeDebugPort(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 4)) return;
  const uint16_t value = space.Word(cap.offset + 2);
  const int bar = value >> 13;
  const int offset = value & 0x1FFF;
  cap.summary = "BAR=" + std::to_string(bar) + " offset=" + Hex(static_cast<uint32_t>(offset), 4);
  cap.fields.push_back(Hidden(Number("bar", "BAR", bar, std::to_string(bar))));
  cap.fields.push_back(
      Hidden(Number("offset", "offset", offset, Hex(static_cast<uint32_t>(offset), 4))));
}

void DecodeBridgeSubsystem(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const uint16_t vendor = space.Word(cap.offset + 4);
  const uint16_t device = space.Word(cap.offset + 6);
  cap.summary = Hex(vendor, 4) + ":" + Hex(device, 4);
  cap.fields.push_back(Hidden(Number("subsystem_vendor_id", "Vendor", vendor, Hex(vendor, 4))));
  cap.fields.push_back(Hidden(Number("subsystem_id", "Device", device, Hex(device, 4))));
}

void DecodeSata(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const uint8_t revision = space.Byte(cap.offset + 2);
  const uint32_t place = space.Dword(cap.offset + 4);
  const int location = static_cast<int>(place & 0xF);
  std::string where;
  if (location >= 4 && location <= 9) {
    where = "BAR" + std::to_string(location - 4);
  } else if (location == 0xF) {
    where = "InCfgSpace";
  } else {
    where = "BAR??" + std::to_string(location);
  }
  const uint32_t offset = place >> 4 & 0xFFFFF;
  cap.summary =
      "HBA v" + std::to_string(revision >> 4) + "." + std::to_string(revision & 0xF) + " " + where;
  // The offset means something only in a base address register.
  if (location >= 4 && location <= 9) cap.summary += " Offset=" + Hex(offset, 8);
  cap.fields.push_back(
      Hidden(Text("revision", "Revision",
                  std::to_string(revision >> 4) + "." + std::to_string(revision & 0xF))));
  cap.fields.push_back(Hidden(Text("location", "Location", where)));
  cap.fields.push_back(Hidden(Number("offset", "Offset", offset, Hex(offset, 8))));
}

void DecodeAdvancedFeatures(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 6)) return;
  const uint8_t capabilities = space.Byte(cap.offset + 3);
  const uint8_t control = space.Byte(cap.offset + 4);
  const uint8_t status = space.Byte(cap.offset + 5);
  const std::vector<CapField> af_cap =
      Fields(Flag("transactions_pending", "TP", (capabilities & 1) != 0),
             Flag("function_level_reset", "FLR", (capabilities & 2) != 0));
  const std::vector<CapField> af_ctl = Fields(Flag("initiate_flr", "FLR", (control & 1) != 0));
  const std::vector<CapField> af_sta =
      Fields(Flag("transactions_pending", "TP", (status & 1) != 0));
  cap.fields.push_back(FlagsRegister("capabilities", "AFCap", std::move(af_cap)));
  cap.fields.push_back(FlagsRegister("control", "AFCtrl", std::move(af_ctl)));
  cap.fields.push_back(FlagsRegister("status", "AFStatus", std::move(af_sta)));
}

}  // namespace kelvox

// The PCI hardware and compatible IDs Windows gives a device, such as
// "PCI\VEN_8086&DEV_100E&SUBSYS_001E8086&REV_02" or "PCI\CC_020000": "PCI\" and parts joined by
// '&', each a key and hexadecimal digits: VEN_vvvv, DEV_dddd, SUBSYS_ssssvvvv (subsystem ID,
// then subsystem vendor ID), REV_rr, CC_ccsspp or CC_ccss (class, sub-class and, in the longer
// form, programming interface). Keys and digits are read in either case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvox {

// The parts of one ID; a part the ID does not name is empty.
struct HardwareIdText {
  std::optional<uint16_t> vendor;
  std::optional<uint16_t> device;
  std::optional<uint32_t> subsystem;  // as written: subsystem ID << 16 | subsystem vendor ID
  std::optional<uint8_t> revision;
  // The class code as the 24 bits of register 0x08 above the revision (class << 16 | sub-class
  // << 8 | interface); the interface is 0 when the ID has the four-digit form.
  std::optional<uint32_t> class_code;
  bool class_has_interface = false;  // CC_ccsspp rather than CC_ccss

  bool operator==(const HardwareIdText&) const = default;
};

// An ID's parts, or why the text is not a PCI ID.
struct ParsedHardwareId {
  std::optional<HardwareIdText> id;
  std::string problem;  // one phrase, set when `id` is empty
};

// Reads one ID. Anything but "PCI\" and '&'-joined known parts, each named once with the right
// number of hexadecimal digits, is refused with a reason.
ParsedHardwareId ParseHardwareIdText(std::string_view text);

// The texts of a multi-string ("a\0b\0\0"): every non-empty text up to the first empty one or
// the end, also when the closing NULs are missing.
std::vector<std::string> SplitMultiString(std::string_view list);

}  // namespace kelvox

// A PCI ID list read at run time from a pci.ids file (the format of pci.ids(5)): vendors with
// their devices and the devices' subsystems, and the class codes with their sub-classes and
// programming interfaces, in the file's order. Every name is a view into the list's own copy of
// the file text, NUL-terminated in place, so `data()` is also a C string; the views live as
// long as the list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvox {

// A vendor line "XXXX  NAME" and the range of its device lines in `PciIdList::devices`. A name
// "A [B]" gives full name A and short name B; any other name is the full name, the short name
// then being "".
struct PciIdVendor {
  std::uint16_t id = 0;
  std::string_view short_name, full_name;
  std::uint32_t first_device = 0, end_device = 0;
};

// A device line "\tXXXX  NAME" and the range of its subsystem lines. A name "A [B]" gives chip
// name A and description B; any other name is the description, the chip name then being "".
struct PciIdDevice {
  std::uint16_t id = 0;
  std::string_view chip_name, description;
  std::uint32_t first_subsystem = 0, end_subsystem = 0;
};

// A subsystem line "\t\tVVVV DDDD  NAME".
struct PciIdSubsystem {
  std::uint16_t subvendor = 0, subdevice = 0;
  std::string_view name;
};

// A line of a class block: "C XX  NAME" (a base class, its children the sub-classes),
// "\tXX  NAME" (a sub-class, its children the programming interfaces) or "\t\tXX  NAME".
struct PciIdClassLevel {
  std::uint8_t id = 0;
  std::string_view name;
  std::uint32_t first_child = 0, end_child = 0;
};

class PciIdList {
 public:
  // The file's version: its "Version:" header line, else its "Date:" line, else the older
  // "Daily snapshot on" or "$Id: pci.ids,v" line; "" when it has none of them.
  std::string version;

  std::vector<PciIdVendor> vendors;
  std::vector<PciIdDevice> devices;
  std::vector<PciIdSubsystem> subsystems;
  std::vector<PciIdClassLevel> base_classes, sub_classes, prog_ifs;

  // The same contract as the embedded lookups: the first matching line, in file order, wins;
  // false (outputs untouched) when nothing matches. Keys are masked to their register widths.
  bool FindVendor(std::uint32_t vendor_id, std::string_view& short_name,
                  std::string_view& full_name) const;
  bool FindDevice(std::uint32_t vendor_id, std::uint32_t device_id, std::string_view& chip_name,
                  std::string_view& description) const;
  bool FindSubsystem(std::uint32_t vendor_id, std::uint32_t device_id, std::uint32_t subvendor,
                     std::uint32_t subdevice, std::string_view& name) const;
  // Each level from the first line naming it within the first matching level above; "" when
  // no line does. All three outputs are always set.
  void FindClass(std::uint32_t base, std::uint32_t sub, std::uint32_t prog_if,
                 std::string_view& base_name, std::string_view& sub_name,
                 std::string_view& prog_if_name) const;

  // Builds the vendor index the lookups search; the reader calls it once the lines are in.
  void Index();

  // The text the names point into; set by the reader and never changed afterwards.
  std::string text;

 private:
  // (vendor ID, position in `vendors`), sorted, so the blocks of one ID are found in file order.
  std::vector<std::pair<std::uint16_t, std::uint32_t>> vendor_index_;
};

}  // namespace kelvox

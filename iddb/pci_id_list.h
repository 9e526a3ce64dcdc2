// A PCI ID list read at run time from a pci.ids file (the format of pci.ids(5)): vendors with
// their devices and the devices' subsystems, and the class codes with their sub-classes and
// programming interfaces, in the file's order. The tables hold only IDs and where each name
// sits in the list's text; a lookup cuts the names out of the text, so loading touches little
// memory. Names are views into the text and live as long as the list; unlike the embedded
// tables' names they are not NUL-terminated.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvox {

// Where a name sits in the list's text.
struct PciIdName {
  std::uint32_t at = 0;
  std::uint32_t size = 0;
};

// A vendor line "XXXX  NAME" and the range of its device lines in `PciIdList::devices`. A name
// "A [B]" gives full name A and short name B; any other name is the full name, the short name
// then being "".
struct PciIdVendor {
  std::uint16_t id = 0;
  PciIdName name;
  std::uint32_t first_device = 0, end_device = 0;
};

// A device line "\tXXXX  NAME" and the range of its subsystem lines. A name "A [B]" gives chip
// name A and description B; any other name is the description, the chip name then being "".
struct PciIdDevice {
  std::uint16_t id = 0;
  PciIdName name;
  std::uint32_t first_subsystem = 0, end_subsystem = 0;
};

// A subsystem line "\t\tVVVV DDDD  NAME".
struct PciIdSubsystem {
  std::uint16_t subvendor = 0, subdevice = 0;
  PciIdName name;
};

// A line of a class block: "C XX  NAME" (a base class, its children the sub-classes),
// "\tXX  NAME" (a sub-class, its children the programming interfaces) or "\t\tXX  NAME".
struct PciIdClassLevel {
  std::uint8_t id = 0;
  PciIdName name;
  std::uint32_t first_child = 0, end_child = 0;
};

// Splits a name "A [B]" (B running to the closing bracket that ends the name, A not empty) into
// A and B; false, outputs untouched, for any other name.
bool SplitBracketedName(std::string_view name, std::string_view& a, std::string_view& b);

class PciIdList {
 public:
  PciIdList() = default;
  // The names are views into the list's own text: a copy would view the source's text, and so
  // would a move whose text is short enough to sit inside the std::string itself. A list is
  // neither copied nor moved; it is held by pointer (PciIdsRead).
  PciIdList(const PciIdList&) = delete;
  PciIdList& operator=(const PciIdList&) = delete;

  // The file's version: its "Version:" header line, else its "Date:" line, else the older
  // "Daily snapshot on" or "$Id: pci.ids,v" line; "" when it has none of them.
  std::string version;
  // The file it was read from, as messages name it (its control bytes escaped).
  std::string source;

  std::vector<PciIdVendor> vendors;
  std::vector<PciIdDevice> devices;
  std::vector<PciIdSubsystem> subsystems;
  std::vector<PciIdClassLevel> base_classes, sub_classes, prog_ifs;

  // The same contract as the embedded lookups: the first matching line, in file order, wins;
  // false (outputs untouched) when nothing matches. Keys are masked to their register widths.
  bool FindVendor(std::uint32_t vendor_id, std::string_view& short_name,
                  std::string_view& full_name) const;
  // The vendor's whole name, as its line writes it ("A [B]" unsplit).
  bool FindVendorLine(std::uint32_t vendor_id, std::string_view& name) const;
  bool FindDevice(std::uint32_t vendor_id, std::uint32_t device_id, std::string_view& chip_name,
                  std::string_view& description) const;
  bool FindSubsystem(std::uint32_t vendor_id, std::uint32_t device_id, std::uint32_t subvendor,
                     std::uint32_t subdevice, std::string_view& name) const;
  // Each level from the first line naming it within the first matching level above; "" when
  // no line does. All three outputs are always set.
  void FindClass(std::uint32_t base, std::uint32_t sub, std::uint32_t prog_if,
                 std::string_view& base_name, std::string_view& sub_name,
                 std::string_view& prog_if_name) const;

  // The text of a name.
  std::string_view NameOf(PciIdName name) const { return text_.substr(name.at, name.size); }

  // The text the names are taken from: owned by the list, or kept where it is (text another
  // object holds) for as long as `keeper` lives. Set once, by the reader, before the lines are
  // read.
  void SetText(std::string text);
  void SetText(std::string_view text, std::shared_ptr<const void> keeper);
  std::string_view text() const { return text_; }

  // Builds the vendor index the lookups search; the reader calls it once the lines are in.
  void Index();

 private:
  std::string owned_text_;
  std::shared_ptr<const void> keeper_;
  std::string_view text_;
  // (vendor ID, position in `vendors`), sorted, so the blocks of one ID are found in file order.
  std::vector<std::pair<std::uint16_t, std::uint32_t>> vendor_index_;
};

}  // namespace kelvox

// Name lookups in the PCI ID list in use (see iddb/name_source.h): the embedded tables unless
// another list was chosen. Names are views that stay valid while their list is kept; only the
// embedded tables' names are also NUL-terminated. The vendor and device lookups report the first
// matching row in stored order; the class lookup names each level of a class code from the first
// row that matches on that level. Keys are masked to their register widths, so a failed hexadecimal
// parse (-1) looks up vendor 0xFFFF, which no row holds.
#pragma once

#include <cstdint>
#include <string_view>

namespace kelvox {

// Names of the first vendor row whose ID equals the low 16 bits of `vendor_id`; false, with
// both outputs untouched, when there is none.
bool FindVendorName(std::uint32_t vendor_id, std::string_view& short_name,
                    std::string_view& full_name);

// The vendor's name as one line of text writes it: a pci.ids list's whole name, as the list
// and lspci write it ("Advanced Micro Devices, Inc. [AMD/ATI]"), so vendors whose names share
// their first part stay apart; the embedded list's full name. False, `name` untouched, when
// there is none.
bool FindVendorLineName(std::uint32_t vendor_id, std::string_view& name);

// Names of the first device row whose vendor and device IDs equal the low 16 bits of the keys;
// false, with both outputs untouched, when there is none.
bool FindDeviceName(std::uint32_t vendor_id, std::uint32_t device_id, std::string_view& chip_name,
                    std::string_view& description);

// The base-class, sub-class and programming-interface names of a class code (low 8 bits of each
// key). Each output is taken from the first row matching on that level and all before it, or
// is "" when no row does; all three outputs are always set.
void FindClassNames(std::uint32_t base, std::uint32_t sub, std::uint32_t prog_if,
                    std::string_view& base_name, std::string_view& sub_name,
                    std::string_view& prog_if_name);

// The name of a subsystem (the IDs of configuration registers 0x2C and 0x2E) of a device; false,
// with `name` untouched, when there is none. The embedded list names no subsystems.
bool FindSubsystemName(std::uint32_t vendor_id, std::uint32_t device_id, std::uint32_t subvendor,
                       std::uint32_t subdevice, std::string_view& name);

}  // namespace kelvox

#include "iddb/lookup.h"

#include "iddb/name_source.h"
#include "iddb/tables.h"

namespace kelvox {

// The tables are a few thousand rows; a linear scan per keystroke or device row costs
// microseconds and keeps the first stored row the one reported, duplicates included.

bool FindVendorName(std::uint32_t vendor_id, std::string_view& short_name,
                    std::string_view& full_name) {
  if (const PciIdList* list = ActiveIdList())
    return list->FindVendor(vendor_id, short_name, full_name);
  const auto key = static_cast<std::uint16_t>(vendor_id);
  for (const VendorRecord& row : VendorTable()) {
    if (row.vendor_id == key) {
      short_name = row.short_name;
      full_name = row.full_name;
      return true;
    }
  }
  return false;
}

bool FindVendorLineName(std::uint32_t vendor_id, std::string_view& name) {
  if (const PciIdList* list = ActiveIdList()) return list->FindVendorLine(vendor_id, name);
  std::string_view short_name;
  return FindVendorName(vendor_id, short_name, name);
}

bool FindDeviceName(std::uint32_t vendor_id, std::uint32_t device_id, std::string_view& chip_name,
                    std::string_view& description) {
  if (const PciIdList* list = ActiveIdList()) {
    return list->FindDevice(vendor_id, device_id, chip_name, description);
  }
  const auto vendor = static_cast<std::uint16_t>(vendor_id);
  const auto device = static_cast<std::uint16_t>(device_id);
  for (const DeviceRecord& row : DeviceTable()) {
    if (row.vendor_id == vendor && row.device_id == device) {
      chip_name = row.chip_name;
      description = row.description;
      return true;
    }
  }
  return false;
}

void FindClassNames(std::uint32_t base, std::uint32_t sub, std::uint32_t prog_if,
                    std::string_view& base_name, std::string_view& sub_name,
                    std::string_view& prog_if_name) {
  if (const PciIdList* list = ActiveIdList()) {
    list->FindClass(base, sub, prog_if, base_name, sub_name, prog_if_name);
    return;
  }
  const auto base_key = static_cast<std::uint8_t>(base);
  const auto sub_key = static_cast<std::uint8_t>(sub);
  const auto prog_if_key = static_cast<std::uint8_t>(prog_if);
  // A level counts as named once a row has supplied it, even when that row's name is "";
  // later rows never override it.
  bool have_base = false;
  bool have_sub = false;
  bool have_prog_if = false;
  for (const ClassRecord& row : ClassTable()) {
    if (row.base != base_key) continue;
    if (!have_base) {
      base_name = row.base_name;
      have_base = true;
    }
    if (row.sub != sub_key) continue;
    if (!have_sub) {
      sub_name = row.sub_name;
      have_sub = true;
    }
    if (row.prog_if != prog_if_key) continue;
    if (!have_prog_if) {
      prog_if_name = row.prog_if_name;
      have_prog_if = true;
    }
  }
  // An unnamed level is "" from a literal, so data() stays a valid C string.
  if (!have_base) base_name = "";
  if (!have_sub) sub_name = "";
  if (!have_prog_if) prog_if_name = "";
}

bool FindSubsystemName(std::uint32_t vendor_id, std::uint32_t device_id, std::uint32_t subvendor,
                       std::uint32_t subdevice, std::string_view& name) {
  const PciIdList* list = ActiveIdList();
  return list != nullptr && list->FindSubsystem(vendor_id, device_id, subvendor, subdevice, name);
}

}  // namespace kelvox

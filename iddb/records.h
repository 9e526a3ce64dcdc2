// The record types of the embedded PCI ID tables: one row per vendor, per device and per class
// code. Every name is a view of a UTF-8 string literal that lives as long as the program and is
// NUL-terminated, so `data()` may also be passed where a C string is expected. An empty name is
// "" (never a null view).
#pragma once

#include <cstdint>
#include <string_view>

namespace kelvox {

struct VendorRecord {
  std::uint16_t vendor_id;
  std::uint16_t reserved;       // always 0
  std::string_view short_name;  // may be empty
  std::string_view full_name;
};

struct DeviceRecord {
  std::uint16_t vendor_id;
  std::uint16_t device_id;
  std::string_view chip_name;    // may be empty
  std::string_view description;  // may be empty
};

struct ClassRecord {
  std::uint8_t base;
  std::uint8_t sub;
  std::uint8_t prog_if;
  std::uint8_t reserved;  // always 0
  std::string_view base_name;
  std::string_view sub_name;
  std::string_view prog_if_name;  // may be empty
};

}  // namespace kelvox

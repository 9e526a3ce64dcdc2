// The three ID lists as the table generator understands them: vendors (strictly ascending IDs),
// devices (each vendor present in the vendor list) and class codes, parsed and checked row by
// row. A fault stops everything with a "file:line: what" DataError.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvox::iddb_gen {

struct VendorEntry {
  std::uint16_t vendor_id;
  std::string short_name;
  std::string full_name;
};

struct DeviceEntry {
  std::uint16_t vendor_id;
  std::uint16_t device_id;
  std::string chip_name;
  std::string description;
};

struct ClassEntry {
  std::uint8_t base;
  std::uint8_t sub;
  std::uint8_t prog_if;
  std::string base_name;
  std::string sub_name;
  std::string prog_if_name;
};

// One data file: the name used in messages and its whole content.
struct DataFile {
  std::string name;
  std::string content;
};

struct IdLists {
  std::vector<VendorEntry> vendors;
  std::vector<DeviceEntry> devices;
  std::vector<ClassEntry> classes;
};

// The value of an ID field of exactly `digits` hexadecimal digits (either case), or nothing.
std::optional<std::uint32_t> ParseIdField(std::string_view field, std::size_t digits);

// Vendor rows: ID, short name, full name. IDs must rise strictly; 0xFFFF is refused because a
// failed parse of a typed vendor ID looks up 0xFFFF and must find nothing.
std::vector<VendorEntry> ParseVendors(const DataFile& file);

// Device rows: vendor ID, device ID, chip name, description; every vendor ID must be in
// `vendors`.
std::vector<DeviceEntry> ParseDevices(const DataFile& file,
                                      const std::vector<VendorEntry>& vendors);

// Class rows: base, sub-class, programming interface (two digits each), then their three names.
std::vector<ClassEntry> ParseClasses(const DataFile& file);

// All three lists, checked against each other.
IdLists ParseIdLists(const DataFile& vendors, const DataFile& devices, const DataFile& classes);

}  // namespace kelvox::iddb_gen

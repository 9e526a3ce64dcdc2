#include "iddb/generator/id_lists.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "iddb/generator/tsv_reader.h"

namespace kelvox::iddb_gen {

namespace {

std::uint32_t IdOrThrow(const DataFile& file, const TsvRow& row, std::size_t column,
                        std::size_t digits, std::string_view what) {
  const std::string& field = row.fields[column];
  if (auto value = ParseIdField(field, digits)) return *value;
  throw DataError(file.name, row.line,
                  std::string(what) + " \"" + field + "\" is not " + std::to_string(digits) +
                      " hexadecimal digits");
}

std::string Hex4(std::uint32_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::optional<std::uint32_t> ParseIdField(std::string_view field, std::size_t digits) {
  if (field.size() != digits) return std::nullopt;
  // from_chars takes no sign and no "0x" for an unsigned type, so only digits pass.
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, 16);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

std::vector<VendorEntry> ParseVendors(const DataFile& file) {
  std::vector<VendorEntry> vendors;
  for (TsvRow& row : ReadTsv(file.name, file.content, 3)) {
    const std::uint32_t id = IdOrThrow(file, row, 0, 4, "vendor ID");
    if (id == 0xFFFF) {
      throw DataError(file.name, row.line, "vendor ID ffff is reserved: it reads as no device");
    }
    if (!vendors.empty() && id <= vendors.back().vendor_id) {
      throw DataError(file.name, row.line,
                      "vendor ID " + Hex4(id) + " does not rise above the previous row's " +
                          Hex4(vendors.back().vendor_id) +
                          " (vendor IDs must be strictly ascending)");
    }
    vendors.push_back(
        {static_cast<std::uint16_t>(id), std::move(row.fields[1]), std::move(row.fields[2])});
  }
  return vendors;
}

std::vector<DeviceEntry> ParseDevices(const DataFile& file,
                                      const std::vector<VendorEntry>& vendors) {
  std::vector<DeviceEntry> devices;
  for (TsvRow& row : ReadTsv(file.name, file.content, 4)) {
    const std::uint32_t vendor_id = IdOrThrow(file, row, 0, 4, "vendor ID");
    const std::uint32_t device_id = IdOrThrow(file, row, 1, 4, "device ID");
    // The vendor list is ascending (checked when it was read), so a binary search will do.
    const auto vendor = std::lower_bound(
        vendors.begin(), vendors.end(), vendor_id,
        [](const VendorEntry& entry, std::uint32_t id) { return entry.vendor_id < id; });
    const bool known = vendor != vendors.end() && vendor->vendor_id == vendor_id;
    if (!known) {
      throw DataError(file.name, row.line,
                      "vendor ID " + Hex4(vendor_id) + " is not in the vendor list");
    }
    devices.push_back({static_cast<std::uint16_t>(vendor_id), static_cast<std::uint16_t>(device_id),
                       std::move(row.fields[2]), std::move(row.fields[3])});
  }
  return devices;
}

std::vector<ClassEntry> ParseClasses(const DataFile& file) {
  std::vector<ClassEntry> classes;
  for (TsvRow& row : ReadTsv(file.name, file.content, 6)) {
    const auto base = static_cast<std::uint8_t>(IdOrThrow(file, row, 0, 2, "base class"));
    const auto sub = static_cast<std::uint8_t>(IdOrThrow(file, row, 1, 2, "sub-class"));
    const auto prog_if =
        static_cast<std::uint8_t>(IdOrThrow(file, row, 2, 2, "programming interface"));
    classes.push_back({base, sub, prog_if, std::move(row.fields[3]), std::move(row.fields[4]),
                       std::move(row.fields[5])});
  }
  return classes;
}

IdLists ParseIdLists(const DataFile& vendors, const DataFile& devices, const DataFile& classes) {
  IdLists lists;
  lists.vendors = ParseVendors(vendors);
  lists.devices = ParseDevices(devices, lists.vendors);
  lists.classes = ParseClasses(classes);
  return lists;
}

}  // namespace kelvox::iddb_gen

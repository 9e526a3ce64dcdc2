#include "scan/device_row.h"

#include <cstdio>

#include "scan/class_comment.h"

namespace kelvox {
namespace {

// printf into a std::string; every use below has a bounded width, so 64 bytes always suffice.
template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, args...);
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

// The comment as the list shows it: the blanks that part it from the header type are dropped,
// blanks inside it stay.
std::string WithoutLeadingBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\n");
  return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

DeviceRow BuildDeviceRow(ConfigAccess& access, int bus, int device, int function) {
  // Separate statements keep the register reads in this order.
  const uint32_t id = access.Read(bus, device, function, 0x00);
  const uint32_t command_status = access.Read(bus, device, function, 0x04);
  const uint32_t class_revision = access.Read(bus, device, function, 0x08);
  const uint32_t header_dword = access.Read(bus, device, function, 0x0C);

  DeviceRow row;
  // The number shown is the device the registers came from, masked as the address masks it.
  row.device = device & 0x1F;
  row.vendor_id = static_cast<uint16_t>(id);
  row.device_id = static_cast<uint16_t>(id >> 16);
  const unsigned command = command_status & 0xFFFF;
  const unsigned status = command_status >> 16;
  const unsigned revision = class_revision & 0xFF;
  const unsigned class_code = class_revision >> 8;
  const unsigned header_type = (header_dword >> 16) & 0xFF;
  const std::string comment = ClassComment(class_revision);

  row.text =
      Format("%2d %04x   %04x %04x %04x %02x   %06x %02x", row.device, unsigned{row.vendor_id},
             unsigned{row.device_id}, command, status, revision, class_code, header_type) +
      comment;
  row.columns = {
      Format("%2d", row.device),
      Format("%04x", unsigned{row.vendor_id}),
      Format("%04x", unsigned{row.device_id}),
      Format("%04x", command),
      Format("%04x", status),
      Format("%02x", revision),
      Format("%06x", class_code),
      Format("%02x", header_type),
      WithoutLeadingBlanks(comment),
  };
  return row;
}

}  // namespace kelvox

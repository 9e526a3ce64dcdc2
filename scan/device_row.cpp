#include "scan/device_row.h"

#include "scan/class_comment.h"
#include "text/hex_digit.h"

namespace kelvox {
namespace {

// The device number as "%2d" writes it: 0-31, right-aligned in two places.
std::string DeviceNumberText(int device) {
  return (device < 10 ? " " : "") + std::to_string(device);
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

  row.columns = {
      DeviceNumberText(row.device), HexText(row.vendor_id, 4), HexText(row.device_id, 4),
      HexText(command, 4),          HexText(status, 4),        HexText(revision, 2),
      HexText(class_code, 6),       HexText(header_type, 2),   WithoutLeadingBlanks(comment),
  };
  // "%2d %04x   %04x %04x %04x %02x   %06x %02x" and the comment as it is.
  const auto& c = row.columns;
  row.text = c[0] + " " + c[1] + "   " + c[2] + " " + c[3] + " " + c[4] + " " + c[5] + "   " +
             c[6] + " " + c[7] + comment;
  return row;
}

}  // namespace kelvox

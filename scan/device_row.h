// One row of the device list: the first four configuration registers of one device number,
// formatted as text, with the Japanese class comment.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "config/access.h"

namespace kelvox {

inline constexpr int kListColumns = 9;

struct DeviceRow {
  int device = 0;
  // The whole row: "%2d %04x   %04x %04x %04x %02x   %06x %02x" followed by the class comment.
  std::string text;
  uint16_t vendor_id = 0;
  uint16_t device_id = 0;
  // What the list shows: number, vendor ID, device ID, command, status, revision, class code,
  // header type, comment (without its leading blanks).
  std::array<std::string, kListColumns> columns;
};

// Reads registers 0x00, 0x04, 0x08 and 0x0C of one device, in that order, and formats its row.
DeviceRow BuildDeviceRow(ConfigAccess& access, int bus, int device, int function);

}  // namespace kelvox

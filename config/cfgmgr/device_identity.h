// The IDs of a device the Windows device manager lists, gathered from its hardware IDs, its
// compatible IDs and its instance ID (whose first two parts are its most specific hardware ID).
// Windows 10 moved some IDs from the hardware list to the compatible list, so both are read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/cfgmgr/device_manager_api.h"

namespace kelvox {

// What the IDs tell of a device; a part no ID names is 0.
struct DeviceIdentity {
  uint16_t vendor = 0;
  uint16_t device = 0;
  uint32_t subsystem = 0;  // subsystem ID << 16 | subsystem vendor ID
  uint8_t revision = 0;
  uint32_t class_code = 0;  // class << 16 | sub-class << 8 | programming interface

  bool operator==(const DeviceIdentity&) const = default;
};

// A device's identity, or why it has none.
struct IdentityOrProblem {
  std::optional<DeviceIdentity> identity;
  std::string problem;  // set when `identity` is empty
};

// Vendor and device from the first ID that names both (hardware IDs, then compatible IDs, then
// the instance ID); subsystem, revision and class from the first ID that names them and does
// not name another vendor or device, the six-digit class before the four-digit one. IDs that do
// not parse are passed over; a device none of whose IDs names a vendor and a device has no
// identity (the problem is the first ID's reason when one was refused).
IdentityOrProblem IdentifyDevice(const DeviceRecord& record);

}  // namespace kelvox

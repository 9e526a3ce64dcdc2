// The devices the Windows device manager lists, placed at their bus, device and function in
// domain 0, with the ones that find no place kept apart and a warning for every device that
// cannot be shown as it claims.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config/access.h"
#include "config/cfgmgr/device_identity.h"
#include "config/cfgmgr/device_manager_api.h"

namespace kelvox {

struct PlacedDevice {
  std::string instance_id;
  DeviceIdentity identity;
  std::vector<DeviceResource> resources;
  std::optional<std::string> service;
  std::optional<std::string> parent_instance_id;
};

struct DevicePlacement {
  std::map<FunctionLocation, PlacedDevice> placed;
  // Devices with IDs but no usable place, in the order listed: no location, a location out of
  // range, or a slot another device holds.
  std::vector<UnplacedFunction> unplaced;
  // One line per device not shown as it claims, starting "cfgmgr: <instance ID>: ".
  std::vector<std::string> warnings;
};

// Places `devices` in the order given: the first device to claim a slot holds it, a later one
// goes to `unplaced` with a warning; a device without usable IDs is left out with a warning; a
// device with no location goes to `unplaced` (no warning: Windows gives some devices none); a
// location out of range puts it there with a warning.
DevicePlacement PlaceDevices(const std::vector<DeviceRecord>& devices);

}  // namespace kelvox

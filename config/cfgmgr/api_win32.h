// The device manager's answers on Windows (device_manager_api.h), from SetupAPI and the
// configuration manager.
#pragma once

#ifdef _WIN32

#include <memory>

#include "config/cfgmgr/device_manager_api.h"

namespace kelvox {

// Lists the present devices of the PCI enumerator with SetupDiGetClassDevs and reads their
// properties. The configuration-manager functions that read resource descriptors are looked up
// in cfgmgr32.dll by name, so a system without them gives devices with no ranges; under Wine,
// whose versions so far export them only as stubs that end the calling process, they are not
// called at all.
std::unique_ptr<DeviceManagerApi> MakeWindowsDeviceManagerApi();

}  // namespace kelvox

#endif  // _WIN32

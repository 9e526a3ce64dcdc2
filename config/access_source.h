// The backend a user names: "sysfs", "port", "cfgmgr", or the path of a captured bus in the
// lspci dump format (config/capture/capture_text.h). The terminal front end's --source and the
// window use it.
#pragma once

#include <memory>
#include <string>

#include "config/access.h"
#include "config/sysfs/sysfs_access.h"

namespace kelvox {

// An opened backend, or the reason there is none.
struct OpenedAccess {
  std::unique_ptr<ConfigAccess> access;  // null when opening failed
  std::string error;                     // one line, starting with the source's name
};

// "sysfs": the sysfs access of `sysfs_root` ("sysfs: cannot open ROOT: <reason>" when the
// folder is missing); "sysfs:DIR": that of DIR/bus/pci/devices, DIR standing for /sys; "port": port
// I/O ("port: no I/O ports on this processor" where there are none); "cfgmgr": the Windows device
// manager, asked at once ("cfgmgr: cannot list the PCI devices: <reason>" when it fails, "cfgmgr:
// the Windows device manager exists only on Windows" elsewhere); anything else: a file loaded into
// a simulated bus ("FILE: cannot open: <reason>", "FILE: line 3: <what is wrong>", "FILE: no device
// in the file"). A file called "sysfs", "port" or "cfgmgr", or whose name starts "sysfs:", is
// reached as "./sysfs", "./port", ...
OpenedAccess OpenAccess(const std::string& source,
                        const std::string& sysfs_root = kSysfsDevicesRoot);

}  // namespace kelvox

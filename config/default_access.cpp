// The choice of backend when none is asked for. Operating-system access comes before raw
// ports: where the kernel offers configuration space, the program never needs privileged
// instructions, and on Windows, where every port instruction of a program faults, the device
// manager is the only source there is.
#include <sys/stat.h>

#include "config/access.h"
#ifdef _WIN32
#include "config/cfgmgr/api_win32.h"
#include "config/cfgmgr/cfgmgr_access.h"
#endif
#include "config/port/port_io_access.h"
#include "config/sysfs/sysfs_access.h"

namespace kelvox {

std::unique_ptr<ConfigAccess> MakeDefaultAccess() { return MakeDefaultAccess(kSysfsDevicesRoot); }

std::unique_ptr<ConfigAccess> MakeDefaultAccess(const std::string& sysfs_root) {
#if defined(_WIN32)
  (void)sysfs_root;
  return std::make_unique<CfgmgrAccess>(MakeWindowsDeviceManagerApi());
#else
#if defined(__linux__)
  struct stat st = {};
  if (stat(sysfs_root.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    return std::make_unique<SysfsAccess>(sysfs_root);
  }
#else
  (void)sysfs_root;
#endif
#if defined(__x86_64__) || defined(__i386__)
  return std::make_unique<PortIoAccess>();
#else
  return std::make_unique<AllOnesAccess>();
#endif
#endif
}

}  // namespace kelvox

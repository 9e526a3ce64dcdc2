// The choice of backend when none is asked for. Operating-system access comes before raw
// ports: where the kernel offers configuration space, the program never needs privileged
// instructions.
#include <sys/stat.h>

#include "config/access.h"
#include "config/port_io_access.h"
#include "config/sysfs_access.h"

namespace kelvox {

std::unique_ptr<ConfigAccess> MakeDefaultAccess() { return MakeDefaultAccess(kSysfsDevicesRoot); }

std::unique_ptr<ConfigAccess> MakeDefaultAccess(const std::string& sysfs_root) {
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
}

}  // namespace kelvox

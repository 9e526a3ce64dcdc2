#include "config/access_source.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "config/capture/capture_file.h"
#ifdef _WIN32
#include "config/cfgmgr/api_win32.h"
#include "config/cfgmgr/cfgmgr_access.h"
#endif
#include "config/capture/capture_text.h"
#include "config/port/port_io_access.h"

namespace kelvox {

namespace {

OpenedAccess Failed(std::string error) { return {nullptr, std::move(error)}; }

OpenedAccess OpenSysfs(const std::string& root) {
  struct stat st = {};
  if (stat(root.c_str(), &st) != 0) {
    return Failed("sysfs: cannot open " + root + ": " + std::strerror(errno));
  }
  if (!S_ISDIR(st.st_mode)) {
    return Failed("sysfs: cannot open " + root + ": " + std::strerror(ENOTDIR));
  }
  return {std::make_unique<SysfsAccess>(root), ""};
}

OpenedAccess OpenPorts() {
#if defined(__x86_64__) || defined(__i386__)
  return {std::make_unique<PortIoAccess>(), ""};
#else
  return Failed("port: no I/O ports on this processor");
#endif
}

OpenedAccess OpenCfgmgr() {
#ifdef _WIN32
  auto access = std::make_unique<CfgmgrAccess>(MakeWindowsDeviceManagerApi());
  if (std::string error = access->Enumerate(); !error.empty()) return Failed(std::move(error));
  return {std::move(access), ""};
#else
  return Failed("cfgmgr: the Windows device manager exists only on Windows");
#endif
}

OpenedAccess OpenCapture(const std::string& path) {
  std::string error;
  const std::optional<std::string> text = ReadCaptureFile(path, error);
  if (!text) return Failed(error);
  try {
    auto bus = std::make_unique<SimulatedBus>(ParseSimulatedBus(*text));
    if (bus->Locations().empty()) return Failed(path + ": no device in the file");
    return {std::move(bus), ""};
  } catch (const SimulatedBusFileError& e) {
    return Failed(path + ": " + e.what());
  }
}

}  // namespace

OpenedAccess OpenAccess(const std::string& source, const std::string& sysfs_root) {
  if (source == "sysfs") return OpenSysfs(sysfs_root);
  // A copy of another machine's /sys, or a tree made for a test: its bus/pci/devices.
  if (source.starts_with("sysfs:") && source.size() > 6) {
    return OpenSysfs(source.substr(6) + "/bus/pci/devices");
  }
  if (source == "port") return OpenPorts();
  if (source == "cfgmgr") return OpenCfgmgr();
  return OpenCapture(source);
}

}  // namespace kelvox

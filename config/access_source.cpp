#include "config/access_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "config/port_io_access.h"
#include "config/simulated_bus_file.h"

namespace kelvox {

namespace {

// Larger than any capture can be (256 buses of 32 devices of 8 functions of 256 bytes in text
// come to about 50 MB); anything bigger is not a capture.
constexpr size_t kMaxCaptureBytes = 64u << 20;

OpenedAccess Failed(std::string error) { return {nullptr, std::move(error)}; }

// The file's contents, or the reason it cannot be read.
std::optional<std::string> ReadCapture(const std::string& path, std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = path + ": cannot open: " + std::strerror(errno);
    return std::nullopt;
  }
  std::string text;
  char chunk[65536];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = path + ": cannot read: " + std::strerror(errno);
      close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    text.append(chunk, static_cast<size_t>(got));
    if (text.size() > kMaxCaptureBytes) {
      error = path + ": too large for a captured bus";
      close(fd);
      return std::nullopt;
    }
  }
  close(fd);
  return text;
}

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

OpenedAccess OpenCapture(const std::string& path) {
  std::string error;
  const std::optional<std::string> text = ReadCapture(path, error);
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
  if (source == "port") return OpenPorts();
  return OpenCapture(source);
}

}  // namespace kelvox

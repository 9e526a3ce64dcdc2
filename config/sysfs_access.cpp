#include "config/sysfs_access.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "config/sysfs_sizing.h"

namespace kelvox {

namespace {

// Every file this access opens is opened with exactly these flags.
constexpr int kReadOnly = O_RDONLY | O_CLOEXEC;

// The most a `resource` file can sensibly hold; anything longer is not one.
constexpr size_t kMaxResourceFile = 64 * 1024;

FunctionLocation Masked(int bus, int device, int function) {
  return {bus & 0xFF, device & 0x1F, function & 0x7};
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

SysfsAccess::SysfsAccess(std::string root, OpenFunction open)
    : root_(std::move(root)), open_(std::move(open)) {
  if (!open_) {
    open_ = [](const std::string& path, int flags) { return ::open(path.c_str(), flags); };
  }
}

std::string SysfsAccess::FunctionFolder(FunctionLocation at) const {
  char name[16];
  std::snprintf(name, sizeof name, "0000:%02x:%02x.%x", at.bus & 0xFF, at.device & 0x1F,
                at.function & 0x7);
  return root_ + "/" + name;
}

uint32_t SysfsAccess::ReadConfigDword(FunctionLocation at, int reg) const {
  const Descriptor fd(open_(FunctionFolder(at) + "/config", kReadOnly));
  if (fd.get() < 0) return kAllOnes;
  uint8_t bytes[4];
  ssize_t got;
  do {
    got = pread(fd.get(), bytes, sizeof bytes, reg & 0xFC);
  } while (got < 0 && errno == EINTR);
  if (got != static_cast<ssize_t>(sizeof bytes)) return kAllOnes;
  // Configuration space is little-endian whatever the host is.
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

std::optional<std::string> SysfsAccess::ReadWholeFile(const std::string& path) const {
  const Descriptor fd(open_(path, kReadOnly));
  if (fd.get() < 0) return std::nullopt;
  std::string text;
  char chunk[4096];
  for (;;) {
    const ssize_t got = read(fd.get(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return text;
    text.append(chunk, static_cast<size_t>(got));
    if (text.size() > kMaxResourceFile) return std::nullopt;
  }
}

std::optional<uint32_t> SysfsAccess::SizingAnswer(FunctionLocation at, int reg) const {
  const uint32_t header = ReadConfigDword(at, 0x0C);
  if (header == kAllOnes) return std::nullopt;  // absent: there is nothing to size
  if (!IsSizedRegister((header >> 16) & 0x7F, reg)) return std::nullopt;
  const std::optional<std::string> text = ReadWholeFile(FunctionFolder(at) + "/resource");
  const auto regions = text ? ParseResourceFile(*text) : std::nullopt;
  // Without the regions the read-back is unknown, and an unknown read is a failed read.
  if (!regions) return kAllOnes;
  const RegisterReader current = [this, at](int r) { return ReadConfigDword(at, r); };
  return SizingReadBack(reg, current, *regions);
}

uint32_t SysfsAccess::Read(int bus, int device, int function, int reg) {
  const FunctionLocation at = Masked(bus, device, function);
  const auto armed = armed_.find({at, reg & 0xFC});
  if (armed != armed_.end()) return armed->second;
  return ReadConfigDword(at, reg);
}

void SysfsAccess::Write(int bus, int device, int function, int reg, uint32_t value) {
  const RegisterKey key{Masked(bus, device, function), reg & 0xFC};
  armed_.erase(key);
  if (value != kAllOnes) return;
  if (const std::optional<uint32_t> answer = SizingAnswer(key.first, key.second)) {
    armed_[key] = *answer;
  }
}

}  // namespace kelvox

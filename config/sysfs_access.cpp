#include "config/sysfs_access.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

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

// The location a folder name "0000:BB:DD.F" stands for, or nothing for any other name.
std::optional<FunctionLocation> ParseFolderName(const std::string& name) {
  unsigned domain = 0, bus = 0, device = 0, function = 0;
  char tail = 0;
  if (name.size() != 12 || std::sscanf(name.c_str(), "%4x:%2x:%2x.%1x%c", &domain, &bus, &device,
                                       &function, &tail) != 4) {
    return std::nullopt;
  }
  if (domain != 0 || device > 31 || function > 7) return std::nullopt;
  return FunctionLocation{static_cast<int>(bus), static_cast<int>(device),
                          static_cast<int>(function)};
}

}  // namespace

SysfsAccess::SysfsAccess(std::string root, OpenFunction open)
    : root_(std::move(root)), open_(std::move(open)) {
  if (!open_) {
    open_ = [](const std::string& path, int flags) { return ::open(path.c_str(), flags); };
  }
}

SysfsAccess::~SysfsAccess() { CloseConfig(); }

std::string SysfsAccess::FunctionFolder(FunctionLocation at) const {
  char name[16];
  std::snprintf(name, sizeof name, "0000:%02x:%02x.%x", at.bus & 0xFF, at.device & 0x1F,
                at.function & 0x7);
  return root_ + "/" + name;
}

void SysfsAccess::CloseConfig() {
  if (config_fd_ >= 0) close(config_fd_);
  config_fd_ = -1;
  config_of_.reset();
}

bool SysfsAccess::SelectFunction(FunctionLocation at) {
  if (config_of_ == at) {
    if (config_fd_ >= 0) return true;
    if (Clock::now() < missing_until_) return false;
  }
  CloseConfig();
  config_fd_ = open_(FunctionFolder(at) + "/config", kReadOnly);
  config_of_ = at;
  if (config_fd_ >= 0) return true;
  missing_until_ = Clock::now() + kMissingFunctionMemory;
  return false;
}

uint32_t SysfsAccess::ReadConfigDword(FunctionLocation at, int reg) {
  if (!SelectFunction(at)) return kAllOnes;
  uint8_t bytes[4];
  ssize_t got;
  do {
    got = pread(config_fd_, bytes, sizeof bytes, reg & 0xFC);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    // The device went away (or the file broke): open it afresh on the next read.
    CloseConfig();
    return kAllOnes;
  }
  if (got != static_cast<ssize_t>(sizeof bytes)) return kAllOnes;  // past what the file holds
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

std::optional<std::vector<ResourceRegion>> SysfsAccess::Regions(FunctionLocation at) const {
  const std::optional<std::string> text = ReadWholeFile(FunctionFolder(at) + "/resource");
  return text ? ParseResourceFile(*text) : std::nullopt;
}

std::optional<uint32_t> SysfsAccess::SizingAnswer(FunctionLocation at, int reg) {
  const uint32_t header = ReadConfigDword(at, 0x0C);
  if (header == kAllOnes) return std::nullopt;  // absent: there is nothing to size
  if (!IsSizedRegister((header >> 16) & 0x7F, reg)) return std::nullopt;
  const auto regions = Regions(at);
  // Without the regions the read-back is unknown, and an unknown read is a failed read.
  if (!regions) return kAllOnes;
  const RegisterReader current = [this, at](int r) { return ReadConfigDword(at, r); };
  return SizingReadBack(reg, current, *regions);
}

std::optional<uint32_t> SysfsAccess::SizingMask(FunctionLocation at, int reg) {
  at = Masked(at.bus, at.device, at.function);
  const uint32_t header = ReadConfigDword(at, 0x0C);
  if (header == kAllOnes) return std::nullopt;
  if (!IsSizedRegister((header >> 16) & 0x7F, reg)) return 0;
  const auto regions = Regions(at);
  if (!regions) return kAllOnes;
  const RegisterReader current = [this, at](int r) { return ReadConfigDword(at, r); };
  return SizingWritableMask(reg, current, *regions);
}

std::vector<FunctionLocation> SysfsAccess::ListFunctions() const {
  std::vector<FunctionLocation> found;
  std::error_code error;
  for (std::filesystem::directory_iterator it(root_, error), end; !error && it != end;
       it.increment(error)) {
    if (auto at = ParseFolderName(it->path().filename().string())) found.push_back(*at);
  }
  std::sort(found.begin(), found.end());
  return found;
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

#include "config/sysfs/sysfs_access.h"

#include "config/sysfs/error_counters.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "config/header_type.h"
#include "config/space_limits.h"
#include "config/sysfs/folder_name.h"
#include "config/sysfs/resource_sizing.h"
#include "config/sysfs/sleeping_function.h"
#include "config/sysfs/sysfs_facts.h"
#include "files/read_file.h"

namespace kelvox {

namespace {

// Every file this access opens is opened with exactly these flags.
constexpr int kReadOnly = O_RDONLY | O_CLOEXEC;

// The most a `resource` file can sensibly hold; anything longer is not one.
constexpr size_t kMaxResourceFile = 64 * 1024;

// The fewest bytes of a config file that make a function: its IDs, command, status, revision,
// class code and header type.
constexpr ssize_t kMinimumConfigBytes = 16;

ssize_t PreadRetrying(int fd, void* buffer, size_t size, off_t offset) {
  ssize_t got;
  do {
    got = pread(fd, buffer, size, offset);
  } while (got < 0 && errno == EINTR);
  return got;
}

}  // namespace

SysfsAccess::SysfsAccess(std::string root, OpenFunction open, NowFunction now)
    : root_(std::move(root)), open_(std::move(open)), now_(std::move(now)) {
  if (!open_) {
    open_ = [](const std::string& path, int flags) { return ::open(path.c_str(), flags); };
  }
  if (!now_) now_ = [] { return Clock::now(); };
}

SysfsAccess::~SysfsAccess() { CloseConfig(); }

std::string SysfsAccess::FunctionFolder(FunctionLocation at) const {
  return root_ + "/" + SysfsFolderName(MaskedLocation(at));
}

void SysfsAccess::CloseConfig() {
  if (config_fd_ >= 0) close(config_fd_);
  config_fd_ = -1;
  config_of_.reset();
  ForgetKept();
}

void SysfsAccess::ForgetKept() {
  regions_.reset();
  header_.fill(std::nullopt);
}

uint32_t SysfsAccess::KeptRegister(FunctionLocation at, int reg) {
  std::optional<uint32_t>& kept = header_[(reg & 0x3C) / 4];
  if (!kept) kept = ReadConfigDword(at, reg);
  return *kept;
}

bool SysfsAccess::SelectFunction(FunctionLocation at) {
  if (config_of_ == at) {
    if (config_fd_ >= 0) return true;
    if (now_() < missing_until_) return false;
  }
  CloseConfig();
  config_fd_ = open_(FunctionFolder(at) + "/config", kReadOnly);
  config_of_ = at;
  if (config_fd_ >= 0) return true;
  missing_until_ = now_() + kMissingFunctionMemory;
  return false;
}

uint32_t SysfsAccess::ReadConfigDword(FunctionLocation at, int reg) {
  if (!SelectFunction(at)) return kAllOnes;
  uint8_t bytes[4];
  const ssize_t got = PreadRetrying(config_fd_, bytes, sizeof bytes, reg & 0xFC);
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

FunctionSpace SysfsAccess::ReadSpace(FunctionLocation at, int start, int end) {
  FunctionSpace space;
  if (!SelectFunction(MaskedLocation(at))) return space;
  struct stat st {};
  if (fstat(config_fd_, &st) != 0) return space;
  const int size = static_cast<int>(std::clamp<off_t>(st.st_size, 0, kMaxSpaceBytes));
  start = std::max(start, 0);
  end = std::min(end, size);
  if (start >= end) return space;
  space.bytes.resize(static_cast<size_t>(end - start));
  const ssize_t got = PreadRetrying(config_fd_, space.bytes.data(), space.bytes.size(), start);
  if (got < 0) {
    CloseConfig();
    return {};
  }
  space.bytes.resize(static_cast<size_t>(got));
  // An absent function, or one that went away, reads all ones in its first word; a read from
  // further in follows one from the start, which has told.
  if (start == 0 && (got < 2 || (space.bytes[0] & space.bytes[1]) == 0xFF)) return {};
  // The kernel gives the first 64 bytes (128 of a CardBus bridge) to anyone, the rest only to
  // a holder of CAP_SYS_ADMIN.
  if (got < end - start) space.limit = kNeedsAdministratorText;
  return space;
}

SysfsAccess::RegionsOrProblem SysfsAccess::Regions(FunctionLocation at) const {
  const std::string path = FunctionFolder(at) + "/resource";
  const ScopedDescriptor fd(open_(path, kReadOnly));
  if (fd.get() < 0) return {std::nullopt, "cannot open " + path + ": " + std::strerror(errno)};
  const ReadAllResult read = ReadAll(fd.get(), kMaxResourceFile);
  if (read.error != 0)
    return {std::nullopt, "cannot read " + path + ": " + std::strerror(read.error)};
  if (read.too_large) return {std::nullopt, path + " is too large for a resource file"};
  std::optional<std::vector<ResourceRegion>> regions = ParseResourceFile(read.text);
  if (!regions) return {std::nullopt, path + " is not a resource file the kernel writes"};
  return {std::move(regions), ""};
}

std::optional<uint32_t> SysfsAccess::SizingAnswer(FunctionLocation at, int reg) {
  if (!SelectFunction(at)) return std::nullopt;
  const uint32_t header = KeptRegister(at, kHeaderTypeRegister);
  if (header == kAllOnes) return std::nullopt;  // absent: there is nothing to size
  if (!IsSizedRegister(HeaderLayout(header), reg)) return std::nullopt;
  if (!regions_) regions_ = Regions(at);
  const RegionsOrProblem& found = *regions_;
  // Without the regions the read-back is unknown, and an unknown read is a failed read.
  if (!found.regions) return kAllOnes;
  const RegisterReader current = [this, at](int r) { return KeptRegister(at, r); };
  return SizingReadBack(reg, current, *found.regions);
}

std::optional<HeaderSizing> SysfsAccess::SizingWithoutWriting(FunctionLocation at) {
  at = MaskedLocation(at);
  const uint32_t header = ReadConfigDword(at, kHeaderTypeRegister);
  if (header == kAllOnes) return std::nullopt;
  const int layout = HeaderLayout(header);
  const RegionsOrProblem found = Regions(at);
  const RegisterReader current = [this, at](int r) { return ReadConfigDword(at, r); };
  HeaderSizing sizing;
  for (int i = 0; i < kHeaderRegisters; ++i) {
    const int reg = 4 * i;
    if (!IsSizedRegister(layout, reg)) continue;
    sizing.writable[i] =
        found.regions ? SizingWritableMask(reg, current, *found.regions) : kAllOnes;
  }
  if (!found.regions) {
    sizing.problem = "sysfs: " + AddressText(at) + ": base address sizes unknown: " + found.problem;
  }
  return sizing;
}

std::optional<FunctionFacts> SysfsAccess::Facts(FunctionLocation at) {
  return ReadSysfsFacts(FunctionFolder(at), open_);
}

std::optional<FunctionFacts> SysfsAccess::SomeFacts(FunctionLocation at, unsigned wanted) {
  return ReadSysfsFacts(FunctionFolder(at), open_, wanted);
}

std::optional<KeptRegisters> SysfsAccess::SleepingRegisters(FunctionLocation at) {
  return ReadSleepingRegisters(FunctionFolder(at), open_);
}

std::vector<ErrorCounter> SysfsAccess::ErrorCounters(FunctionLocation at) {
  return ReadSysfsErrorCounters(FunctionFolder(at), open_);
}

std::string SysfsAccess::ConfigProblem(FunctionLocation at) const {
  const std::string path = FunctionFolder(at) + "/config";
  const ScopedDescriptor fd(open_(path, kReadOnly));
  if (fd.get() < 0) return "cannot open " + path + ": " + std::strerror(errno);
  uint8_t bytes[kMinimumConfigBytes];
  const ssize_t got = PreadRetrying(fd.get(), bytes, sizeof bytes, 0);
  if (got < 0) return "cannot read " + path + ": " + std::strerror(errno);
  if (got < kMinimumConfigBytes) {
    return path + " holds " + std::to_string(got) + " bytes, fewer than the 16 of a header";
  }
  return "";
}

std::vector<FunctionLocation> SysfsAccess::Folders() const {
  std::vector<FunctionLocation> folders;
  std::error_code error;
  for (std::filesystem::directory_iterator it(root_, error), end; !error && it != end;
       it.increment(error)) {
    const std::optional<FunctionLocation> at = ParseSysfsFolderName(it->path().filename().string());
    if (at) folders.push_back(*at);
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

std::vector<int> SysfsAccess::Domains() {
  std::vector<int> domains;
  for (const FunctionLocation& at : Folders()) {
    if (domains.empty() || domains.back() != at.domain) domains.push_back(at.domain);
  }
  if (domains.empty()) domains.push_back(0);
  return domains;
}

FunctionListing SysfsAccess::ListFunctions(std::optional<int> bus) {
  FunctionListing listing;
  for (const FunctionLocation& at : Folders()) {
    if (at.domain != SelectedDomain() || (bus && at.bus != (*bus & 0xFF))) continue;
    // A function asleep in D3cold is listed from its folder alone: opening its config file to
    // check it would wake it.
    if (SleepsInD3cold(FunctionFolder(at), open_)) {
      listing.present.push_back(at);
    } else if (const std::string problem = ConfigProblem(at); !problem.empty()) {
      listing.skipped.push_back("sysfs: " + AddressText(at) + ": skipped: " + problem);
    } else {
      listing.present.push_back(at);
    }
  }
  return listing;
}

uint32_t SysfsAccess::Read(int bus, int device, int function, int reg) {
  const FunctionLocation at = MaskedLocation({bus, device, function, SelectedDomain()});
  // A new look at a function: what the last sizing kept of it is read afresh.
  if ((reg & 0xFC) == 0) ForgetKept();
  if (const std::optional<uint32_t> armed = sizing_answers_.Armed(at, reg)) return *armed;
  return ReadConfigDword(at, reg);
}

void SysfsAccess::Write(int bus, int device, int function, int reg, uint32_t value) {
  const FunctionLocation at = MaskedLocation({bus, device, function, SelectedDomain()});
  sizing_answers_.Write(at, reg, value, [&] { return SizingAnswer(at, reg & 0xFC); });
}

}  // namespace kelvox

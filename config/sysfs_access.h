// Configuration access through Linux sysfs: each function's configuration space is the file
// <root>/0000:BB:DD.F/config, read one dword at a time with pread. Unprivileged users can read
// registers 0x00-0x3F, which is all the program needs.
//
// It never writes a live device: nothing is ever opened for writing. Writing all ones into a
// base address register while a bound driver uses the device can hang the machine or corrupt
// its I/O (the kernel sizes registers itself with decoding off, before drivers bind), so the
// sizing write of all ones is answered instead from the kernel's `resource` file: the next
// read of that register gives what the device's sizing read-back would be (sysfs_sizing.h),
// and the following write to it, the restore, ends that. Every other write is ignored.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "config/access.h"
#include "config/simulated_bus.h"

namespace kelvox {

inline constexpr const char* kSysfsDevicesRoot = "/sys/bus/pci/devices";

class SysfsAccess final : public ConfigAccess {
 public:
  // Opens a file as open(2) does and returns the descriptor, or -1 with errno set.
  using OpenFunction = std::function<int(const std::string& path, int flags)>;

  // Reads the function folders under `root`; `open` (tests) stands in for open(2).
  explicit SysfsAccess(std::string root = kSysfsDevicesRoot, OpenFunction open = nullptr);

  // The dword at the register's offset, or kAllOnes when the function is absent or the file
  // cannot be opened or read in full; an armed sizing answer when there is one.
  uint32_t Read(int bus, int device, int function, int reg) override;
  // All ones to a base address or ROM register arms its sizing answer; any write to an armed
  // register disarms it; nothing ever reaches the device.
  void Write(int bus, int device, int function, int reg, uint32_t value) override;
  std::string Name() const override { return "sysfs"; }

  // The folder of a function: <root>/0000:BB:DD.F.
  std::string FunctionFolder(FunctionLocation at) const;

 private:
  using RegisterKey = std::pair<FunctionLocation, int>;

  uint32_t ReadConfigDword(FunctionLocation at, int reg) const;
  std::optional<std::string> ReadWholeFile(const std::string& path) const;
  // The sizing read-back of a register, or nothing when it is not a sized register or the
  // function is absent.
  std::optional<uint32_t> SizingAnswer(FunctionLocation at, int reg) const;

  std::string root_;
  OpenFunction open_;
  std::map<RegisterKey, uint32_t> armed_;
};

}  // namespace kelvox

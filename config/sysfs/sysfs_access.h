// Configuration access through Linux sysfs: each function's configuration space is the file
// <root>/DDDD:BB:DD.F/config, read one dword at a time with pread. Unprivileged users can read
// registers 0x00-0x3F, which is all the program needs.
//
// It never writes a live device: nothing is ever opened for writing. Writing all ones into a
// base address register while a bound driver uses the device can hang the machine or corrupt
// its I/O (the kernel sizes registers itself with decoding off, before drivers bind), so the
// sizing write of all ones is answered instead from the kernel's `resource` file: the next
// read of that register gives what the device's sizing read-back would be (resource_sizing.h),
// and the following write to it, the restore, ends that. Every other write is ignored.
//
// Reads come in runs on one function (a row reads four registers, the details sheet thirteen),
// so the config file of the function read last stays open and the next read of the same
// function is one pread. The file of a present function reads the device live, so the open
// descriptor never gives stale values; when the device goes away the pread fails, that read
// gives all ones and the file is opened afresh on the next one. A function found missing is
// remembered only while reads stay on it and for at most kMissingFunctionMemory, so a device
// that appears later is seen by the next scan or details sheet.
//
// Function folders are named "DDDD:BB:DD.F" in hex (domains of 5 digits for VMD); their
// domains are the access's domains. A listed function whose config file cannot be opened
// or holds fewer than 16 bytes is reported as skipped, never listed as present.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/access.h"
#include "config/capture/simulated_bus.h"
#include "config/sizing_answers.h"
#include "config/sysfs/resource_sizing.h"

namespace kelvox {

inline constexpr const char* kSysfsDevicesRoot = "/sys/bus/pci/devices";

class SysfsAccess final : public ConfigAccess {
 public:
  // Opens a file as open(2) does and returns the descriptor, or -1 with errno set.
  using OpenFunction = std::function<int(const std::string& path, int flags)>;
  using Clock = std::chrono::steady_clock;
  // The current time (tests stand in a clock they move by hand).
  using NowFunction = std::function<Clock::time_point()>;

  // How long a function found missing is taken as missing without another open, while the
  // reads stay on it.
  static constexpr std::chrono::milliseconds kMissingFunctionMemory{50};

  // Reads the function folders under `root`; `open` and `now` (tests) stand in for open(2)
  // and the steady clock.
  explicit SysfsAccess(std::string root = kSysfsDevicesRoot, OpenFunction open = nullptr,
                       NowFunction now = nullptr);
  ~SysfsAccess() override;
  SysfsAccess(const SysfsAccess&) = delete;
  SysfsAccess& operator=(const SysfsAccess&) = delete;

  // The dword at the register's offset, or kAllOnes when the function is absent or the file
  // cannot be opened or read in full; an armed sizing answer when there is one.
  uint32_t Read(int bus, int device, int function, int reg) override;
  // All ones to a base address or ROM register arms its sizing answer; any write to an armed
  // register disarms it; nothing ever reaches the device.
  void Write(int bus, int device, int function, int reg, uint32_t value) override;
  std::string Name() const override { return "sysfs"; }

  // The folder of a function: <root>/DDDD:BB:DD.F.
  std::string FunctionFolder(FunctionLocation at) const;

  // The functions of the selected domain that have a folder under the root whose config file
  // reads at least 16 bytes, or that sleep in D3cold (their config file is not opened), in bus,
  // device, function order; the other folders are named in `skipped`.
  FunctionListing ListFunctions(std::optional<int> bus) override;
  // The domains of the function folders ({0} when there are none).
  std::vector<int> Domains() override;

  // Every byte of the config file the kernel gives this process, in one read: all of it (256 or
  // 4096 bytes) to a holder of CAP_SYS_ADMIN, the first 64 (128 for a CardBus bridge) to anyone
  // else, who is then told that reading more needs the administrator's rights.
  FunctionSpace ReadSpace(FunctionLocation at, int start, int end) override;

  // Sizing is answered from the kernel's `resource` file, never from the device.
  bool SizesWithoutWriting() const override { return true; }
  // The writable masks under which a simulated function holding this function's registers
  // answers a sizing write as this access does: SizingWritableMask of the kernel's regions for
  // a base address or ROM register, 0 for any other register, and all ones for the sized
  // registers when the `resource` file cannot be read or parsed (every sizing read then fails;
  // `problem` says why). Nothing when the function is absent.
  std::optional<HeaderSizing> SizingWithoutWriting(FunctionLocation at) override;

  // The function's facts from its folder (sysfs_facts.h).
  std::optional<FunctionFacts> Facts(FunctionLocation at) override;
  std::optional<FunctionFacts> SomeFacts(FunctionLocation at, unsigned wanted) override;
  // For a function asleep in D3cold, its IDs, class and bus numbers from the kernel's attribute
  // files (sleeping_function.h), so that listing it does not wake it. Such a function is listed
  // as present without its config file being opened.
  std::optional<KeptRegisters> SleepingRegisters(FunctionLocation at) override;
  std::vector<ErrorCounter> ErrorCounters(FunctionLocation at) override;

 private:
  // A function's regions from its `resource` file, or why there are none.
  struct RegionsOrProblem {
    std::optional<std::vector<ResourceRegion>> regions;
    std::string problem;  // set when `regions` is empty
  };

  // Every function folder under the root, in domain, bus, device, function order.
  std::vector<FunctionLocation> Folders() const;
  uint32_t ReadConfigDword(FunctionLocation at, int reg);
  // Points the open config file at `at`, opening it when another function's file (or none) is
  // open; false when the function is missing.
  bool SelectFunction(FunctionLocation at);
  void CloseConfig();
  RegionsOrProblem Regions(FunctionLocation at) const;
  // Why the function's config file cannot serve as a present function, or "" when it can.
  std::string ConfigProblem(FunctionLocation at) const;
  // The sizing read-back of a register, or nothing when it is not a sized register or the
  // function is absent.
  std::optional<uint32_t> SizingAnswer(FunctionLocation at, int reg);

  std::string root_;
  OpenFunction open_;
  NowFunction now_;
  SizingAnswers sizing_answers_;

  // What the sizing of one function's registers needs again and again: its header type and its
  // regions, kept from the first sizing write to the function until the next read of a vendor
  // ID (with which every look at a function starts) or another function is opened.
  std::optional<RegionsOrProblem> regions_;
  std::array<std::optional<uint32_t>, kHeaderRegisters> header_;
  // A header register of the function, read once while the above are kept.
  uint32_t KeptRegister(FunctionLocation at, int reg);
  void ForgetKept();

  // The function whose config file was opened last: its descriptor, or -1 when it was missing
  // (remembered until missing_until_).
  std::optional<FunctionLocation> config_of_;
  int config_fd_ = -1;
  Clock::time_point missing_until_;
};

}  // namespace kelvox

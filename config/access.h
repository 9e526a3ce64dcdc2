// The one interface through which the program touches PCI configuration space. Every backend
// (port I/O, Linux sysfs, simulated bus) implements it, as a table of operations: read and
// write one 32-bit register, list the functions that are present, tell what sizing a
// register would show without writing to any device, and tell what the operating system
// knows of a function. Callers never learn which backend they hold.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/function_facts.h"
#include "config/function_location.h"

namespace kelvox {

// What a read of an absent function, or any failed read, gives.
inline constexpr uint32_t kAllOnes = 0xFFFFFFFFu;

// The registers of the header every command reads: 0x00-0x3F.
inline constexpr int kHeaderBytes = 64;
inline constexpr int kHeaderRegisters = kHeaderBytes / 4;

// The present functions of a backend, with the ones it lists but cannot read.
struct FunctionListing {
  std::vector<FunctionLocation> present;  // in bus, device, function order
  // One line for each function the backend lists but whose registers cannot be read
  // ("00:05.0: cannot read its configuration space: <reason>"); those are not in `present`.
  std::vector<std::string> skipped;
};

// What a backend knows, without writing to any device, of how one function's header
// registers answer a sizing write of all ones.
struct HeaderSizing {
  // Per register 0x00-0x3C: the bits such a write changes (0 for a read-only register). A
  // register whose read-back cannot be known has all ones here, so its sizing reads fail.
  std::array<uint32_t, kHeaderRegisters> writable{};
  // One line when part of it could not be learned (the read-backs of the registers concerned
  // are unknown), else empty.
  std::string problem;
};

class ConfigAccess {
 public:
  virtual ~ConfigAccess() = default;

  // The register's dword, or kAllOnes when the function is absent or the access fails.
  // Arguments are masked as the configuration address masks them (see address.h).
  virtual uint32_t Read(int bus, int device, int function, int reg) = 0;

  // Stores a dword; a failure is silent.
  virtual void Write(int bus, int device, int function, int reg, uint32_t value) = 0;

  // Short name of the access method, used at the start of its messages ("sysfs", "port").
  virtual std::string Name() const = 0;

  // The functions that are present, only those of `bus` when one is given. A backend that
  // cannot say probes them as PCI enumeration does (ProbeFunctions).
  virtual FunctionListing ListFunctions(std::optional<int> bus);

  // Whether SizingWithoutWriting can answer: false for a backend that would have to write all
  // ones into a device's registers to learn their sizes (port I/O).
  virtual bool SizesWithoutWriting() const { return false; }

  // The sizing of a present function's header, learned without writing to any device; nothing
  // when the function is absent or the backend cannot know (SizesWithoutWriting is false).
  virtual std::optional<HeaderSizing> SizingWithoutWriting(FunctionLocation at);

  // What the operating system knows of a function beyond its header (driver, interrupt, link,
  // ...); nothing when this access method knows none of it (port I/O, a capture without facts)
  // or the function is absent.
  virtual std::optional<FunctionFacts> Facts(FunctionLocation at);
};

// Probes buses first_bus to last_bus as PCI enumeration does: function 0 of every device (a
// vendor ID of ffff means no device), and functions 1 to 7 only of a device whose function 0
// is there and multi-function (bit 7 of the header type).
std::vector<FunctionLocation> ProbeFunctions(ConfigAccess& access, int first_bus, int last_bus);

// A backend for machines with no way to reach configuration space: every read is all ones,
// every write is dropped.
class AllOnesAccess final : public ConfigAccess {
 public:
  uint32_t Read(int, int, int, int) override { return kAllOnes; }
  void Write(int, int, int, int, uint32_t) override {}
  std::string Name() const override { return "none"; }
};

// The backend the program uses when nothing else is asked for: sysfs on Linux when
// /sys/bus/pci/devices exists, port I/O on other x86 systems, all ones elsewhere.
std::unique_ptr<ConfigAccess> MakeDefaultAccess();
// The same choice with the sysfs folder given (tests).
std::unique_ptr<ConfigAccess> MakeDefaultAccess(const std::string& sysfs_root);

}  // namespace kelvox

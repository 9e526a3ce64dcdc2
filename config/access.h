// The one interface through which the program touches PCI configuration space: read or write
// one 32-bit register of one function. Every backend (port I/O, Linux sysfs, simulated bus)
// implements it; callers never learn which one they have.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kelvox {

// What a read of an absent function, or any failed read, gives.
inline constexpr uint32_t kAllOnes = 0xFFFFFFFFu;

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
};

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

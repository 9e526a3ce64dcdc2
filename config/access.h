// The one interface through which the program touches PCI configuration space. Every access
// method (Linux sysfs, port I/O, a captured bus, the Windows device manager) implements it, as a
// table of operations: read and write one 32-bit register, list the functions that are present,
// tell what sizing a register would show without writing to any device, and tell what the operating
// system knows of a function. Callers never learn which backend they hold.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/error_counters.h"
#include "config/function_facts.h"
#include "config/function_location.h"

namespace kelvox {

// What a read of an absent function, or any failed read, gives.
inline constexpr uint32_t kAllOnes = 0xFFFFFFFFu;

// The most bytes a function's configuration space has: with the PCI Express extended space.
inline constexpr int kMaxSpaceBytes = 4096;

// The registers of the header every command reads: 0x00-0x3F.
inline constexpr int kHeaderBytes = 64;
inline constexpr int kHeaderRegisters = kHeaderBytes / 4;

// A function the operating system reports but cannot place at a bus, device and function
// (Windows gives some devices no location): the system's own name for it and the header
// registers that carry its IDs.
struct UnplacedFunction {
  std::string name;    // the operating system's name for it, such as a device instance ID
  uint32_t reg00 = 0;  // device ID << 16 | vendor ID
  uint32_t reg08 = 0;  // class code << 8 | revision
  uint32_t reg2c = 0;  // subsystem ID << 16 | subsystem vendor ID
};

// The present functions of a backend, with the ones it lists but cannot read.
struct FunctionListing {
  std::vector<FunctionLocation> present;  // in domain, bus, device, function order
  // One line for each function the backend lists but whose registers cannot be read
  // ("00:05.0: cannot read its configuration space: <reason>"); those are not in `present`.
  std::vector<std::string> skipped;
  // Functions that are present but have no place in any bus (never in `present`); listed only
  // when no bus is asked for, since they are on none.
  std::vector<UnplacedFunction> unplaced;
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

// As much of a stretch of a function's configuration space as an access method can read: of
// the whole, 64 bytes (the header), 128, 256 (conventional PCI) or 4096 (with the PCI Express
// extended space), nothing for an absent function. Past them a byte is not readable, not all
// ones.
struct FunctionSpace {
  std::vector<uint8_t> bytes;
  // Why no more could be read, in one line a person understands (config/space_limits.h): ""
  // when the function has no more, or nothing was read.
  std::string limit;
};

// The registers a listing reads of a function (0x00, 0x08, 0x0C, 0x18 and 0x2C) as the
// operating system keeps them, for a function that a read of its configuration space would wake
// from D3cold. The header type is what the class code says (a PCI-PCI bridge, a CardBus bridge,
// or a device), the secondary bus what the system numbered behind a bridge.
struct KeptRegisters {
  uint32_t reg00 = kAllOnes;  // device ID << 16 | vendor ID
  uint32_t reg08 = kAllOnes;  // class code << 8 | revision
  uint32_t reg0c = 0;         // header type << 16
  uint32_t reg18 = 0;         // secondary bus << 8
  uint32_t reg2c = 0;         // subsystem ID << 16 | subsystem vendor ID

  // One of those registers; all ones for any other.
  uint32_t Register(int reg) const;
};

class ConfigAccess {
 public:
  virtual ~ConfigAccess() = default;

  // The register's dword in the selected domain, or kAllOnes when the function is absent or
  // the access fails. Arguments are masked as the configuration address masks them (see
  // address.h).
  virtual uint32_t Read(int bus, int device, int function, int reg) = 0;

  // Stores a dword in the selected domain; a failure is silent.
  virtual void Write(int bus, int device, int function, int reg, uint32_t value) = 0;

  // Short name of the access method, used at the start of its messages ("sysfs", "port",
  // "cfgmgr", "simulated").
  virtual std::string Name() const = 0;

  // The functions of the selected domain that are present, only those of `bus` when one is
  // given. A backend that cannot say probes them as PCI enumeration does (ProbeFunctions).
  virtual FunctionListing ListFunctions(std::optional<int> bus);

  // The PCI domains (segments) this access method reaches, in ascending order, never empty:
  // {0} for one that knows no domains (port I/O has none).
  virtual std::vector<int> Domains() { return {0}; }

  // Makes `domain` the one that Read, Write and ListFunctions address. Returns false, and
  // changes nothing, when it is not one of Domains(). Domain 0 is selected at first and can
  // always be selected again: where the method has none, it reads as an empty domain.
  // A backend that forwards to another overrides both to select in, and answer from, that one.
  virtual bool SelectDomain(int domain);
  virtual int SelectedDomain() const { return selected_domain_; }

  // The bytes from `start` up to `end` of the function's space (`at` in its own domain), or as
  // many of them as this method can read, never by writing. By default those of the header,
  // read a register at a time: what every method can give.
  virtual FunctionSpace ReadSpace(FunctionLocation at, int start = 0, int end = kMaxSpaceBytes);

  // Why reads have given all ones where a device may well answer, in one line, once it has
  // happened ("port: ..." where the system forbids port I/O); empty otherwise.
  virtual std::string ReadProblem() const { return {}; }

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
  // The same, where only the facts of `wanted` (FactGroup bits) need to be known: the others
  // may be left unknown when reading them costs something. All of them by default.
  virtual std::optional<FunctionFacts> SomeFacts(FunctionLocation at, unsigned wanted) {
    (void)wanted;
    return Facts(at);
  }

  // The registers a listing needs of a function (`at` in its own domain) that sleeps in D3cold,
  // from what the system keeps of it, so that listing it does not wake it; nothing for a
  // function that is awake, or where the method keeps nothing of it (then it is read).
  virtual std::optional<KeptRegisters> SleepingRegisters(FunctionLocation at) {
    (void)at;
    return std::nullopt;
  }

  // The error counts the system keeps of a present function (`at` in its own domain): the
  // kernel's AER counters on sysfs; none where the method keeps none.
  virtual std::vector<ErrorCounter> ErrorCounters(FunctionLocation at) {
    (void)at;
    return {};
  }

 private:
  int selected_domain_ = 0;
  // The domains Domains() gave when SelectDomain last had to ask.
  std::vector<int> domains_seen_;
};

// The bytes from `start` up to `end` (but not past `readable`) of the function's space, read
// through Read a byte of a register at a time, in the function's domain; nothing when it is
// absent. For access methods that reach the space only through registers.
FunctionSpace ReadRegisters(ConfigAccess& access, FunctionLocation at, int start, int end,
                            int readable);

// Selects a domain for as long as it lives and then selects the one before it again.
class DomainScope {
 public:
  DomainScope(ConfigAccess& access, int domain)
      : access_(access), before_(access.SelectedDomain()) {
    if (domain != before_) access_.SelectDomain(domain);
  }
  ~DomainScope() {
    if (access_.SelectedDomain() != before_) access_.SelectDomain(before_);
  }
  DomainScope(const DomainScope&) = delete;
  DomainScope& operator=(const DomainScope&) = delete;

 private:
  ConfigAccess& access_;
  int before_;
};

// The present functions of every domain (of `bus` in each when one is given), domain by
// domain; the selected domain is left as it was.
FunctionListing ListEveryDomain(ConfigAccess& access, std::optional<int> bus);

// Whether any function listed lies outside domain 0: then every address is written with its
// domain, as lspci does.
bool NeedsDomains(const std::vector<FunctionLocation>& functions);

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
// /sys/bus/pci/devices exists, the device manager (cfgmgr) on Windows, port I/O on other x86
// systems, all ones elsewhere.
std::unique_ptr<ConfigAccess> MakeDefaultAccess();
// The same choice with the sysfs folder given (tests).
std::unique_ptr<ConfigAccess> MakeDefaultAccess(const std::string& sysfs_root);

}  // namespace kelvox

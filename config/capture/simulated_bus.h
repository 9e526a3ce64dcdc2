// A PCI bus held in memory that behaves like hardware: absent functions read all ones, and a
// write changes only the bits that the register's writable mask allows, so sizing a base
// address register reads back its mask. Tests use it directly; captured `lspci -x` dumps load
// into it (see capture_text.h) so a real machine's bus can be viewed anywhere.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "config/access.h"

namespace kelvox {

// One function's configuration space: the 256 bytes of conventional PCI, which the register
// reads reach, with a writable mask per dword; the extended space from 0x100 when the function
// has one; and how many bytes of it there are (a capture of `lspci -x` holds 64, `-xxx` 256,
// `-xxxx` 4096).
struct SimulatedFunction {
  static constexpr int kBytes = 256;
  static constexpr int kMaxBytes = 4096;
  std::array<uint8_t, kBytes> bytes{};
  std::array<uint32_t, kBytes / 4> writable{};
  // Bytes 0x100 and up: kMaxBytes - kBytes of them when `readable` is kMaxBytes, else none.
  std::vector<uint8_t> extended;
  // 64, 128, 256 or 4096: how many bytes the function's space holds.
  int readable = kBytes;

  uint32_t Dword(int reg) const;
  void SetDword(int reg, uint32_t value);
  // The byte at `offset`, below `readable`.
  uint8_t Byte(int offset) const;
  // Makes the space `size` bytes (64, 128, 256 or 4096), keeping what it holds below that.
  void Resize(int size);
};

// The size of a function's space that holds a byte at `last` (its highest offset): 64, 128, 256
// or 4096, as lspci -x, -x on a CardBus bridge, -xxx and -xxxx dump them.
int SpaceSizeHolding(int last);

class SimulatedBus final : public ConfigAccess {
 public:
  // Adds a function (or replaces one) with the given configuration bytes, at most 4096; bytes
  // past the given ones are zero, the space is 256 bytes or, for more than 256 given, 4096; and
  // every register starts read-only.
  SimulatedFunction& AddFunction(FunctionLocation at, const std::vector<uint8_t>& bytes = {});

  // Sets a register's value directly, ignoring its writable mask (test set-up).
  void SetRegister(FunctionLocation at, int reg, uint32_t value);
  // Sets which bits of a register a configuration write may change.
  void SetWritableMask(FunctionLocation at, int reg, uint32_t mask);

  // The function at `at`, or null when none is there.
  const SimulatedFunction* Find(FunctionLocation at) const;
  // The facts given to the function at `at`, or null when it has none.
  const FunctionFacts* FindFacts(FunctionLocation at) const;
  // Every function held, in domain, bus, device, function order.
  std::vector<FunctionLocation> Locations() const;

  uint32_t Read(int bus, int device, int function, int reg) override;
  void Write(int bus, int device, int function, int reg, uint32_t value) override;
  std::string Name() const override { return "simulated"; }
  // What it holds in the selected domain.
  FunctionListing ListFunctions(std::optional<int> bus) override;
  // The domains of the functions it holds ({0} when it holds none).
  std::vector<int> Domains() override;
  // Its registers' writable masks: a sizing write only ever changes the simulated function.
  bool SizesWithoutWriting() const override { return true; }
  std::optional<HeaderSizing> SizingWithoutWriting(FunctionLocation at) override;
  // The facts given to a function it holds (a capture's "# fact" lines).
  std::optional<FunctionFacts> Facts(FunctionLocation at) override;
  // The bytes the function holds, and when fewer than 4096, that the capture held no more.
  FunctionSpace ReadSpace(FunctionLocation at, int start, int end) override;
  // Gives a function it holds its facts (test set-up, a capture's "# fact" lines).
  void SetFacts(FunctionLocation at, const FunctionFacts& facts);

 private:
  SimulatedFunction& Existing(FunctionLocation at);

  std::map<FunctionLocation, SimulatedFunction> functions_;
  std::map<FunctionLocation, FunctionFacts> facts_;
};

}  // namespace kelvox

// A look at one function at a time through another access method: its header is read once, in
// one go, and the reads of its registers are answered from that, until the register is written
// (a sizing write and its restore go to the access method, and so do the reads after them). A
// command that reads a function's header field by field (the details sheet) then costs one
// read of the header rather than one for each register, where every read is a configuration
// access of the device's. Everything else is the access method's own.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "config/access.h"

namespace kelvox {

class SnapshotAccess final : public ConfigAccess {
 public:
  explicit SnapshotAccess(ConfigAccess& inner) : inner_(inner) {}

  uint32_t Read(int bus, int device, int function, int reg) override;
  void Write(int bus, int device, int function, int reg, uint32_t value) override;
  // The header's bytes from the snapshot, the rest from the access method.
  FunctionSpace ReadSpace(FunctionLocation at, int start, int end) override;

  std::string Name() const override { return inner_.Name(); }
  FunctionListing ListFunctions(std::optional<int> bus) override {
    return inner_.ListFunctions(bus);
  }
  std::vector<int> Domains() override { return inner_.Domains(); }
  bool SelectDomain(int domain) override { return inner_.SelectDomain(domain); }
  int SelectedDomain() const override { return inner_.SelectedDomain(); }
  std::string ReadProblem() const override { return inner_.ReadProblem(); }
  bool SizesWithoutWriting() const override { return inner_.SizesWithoutWriting(); }
  std::optional<HeaderSizing> SizingWithoutWriting(FunctionLocation at) override {
    return inner_.SizingWithoutWriting(at);
  }
  std::optional<FunctionFacts> Facts(FunctionLocation at) override { return inner_.Facts(at); }
  std::optional<FunctionFacts> SomeFacts(FunctionLocation at, unsigned wanted) override {
    return inner_.SomeFacts(at, wanted);
  }
  std::optional<KeptRegisters> SleepingRegisters(FunctionLocation at) override {
    return inner_.SleepingRegisters(at);
  }
  std::vector<ErrorCounter> ErrorCounters(FunctionLocation at) override {
    return inner_.ErrorCounters(at);
  }

 private:
  // The snapshot of the function at `at`, taken when it is first asked for.
  void Take(FunctionLocation at);

  ConfigAccess& inner_;
  std::optional<FunctionLocation> of_;
  // The header as read, empty when the function is absent (its reads are the method's).
  std::vector<uint8_t> header_;
  // The registers written since the snapshot was taken: read from the method from then on.
  std::array<bool, kHeaderRegisters> written_{};
};

}  // namespace kelvox

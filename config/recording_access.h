// A ConfigAccess that passes every call on to another one and records each read and write, so a
// caller can tell which registers were read and written, in which order, with which values
// (the terminal's JSON shows what was read; tests prove the order of accesses). Listing,
// sizing and facts are passed on unrecorded.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "config/access.h"

namespace kelvox {

// One call, with its arguments as the caller gave them (not masked) and the value read or
// written.
struct ConfigAccessRecord {
  enum class Kind { kRead, kWrite };
  Kind kind = Kind::kRead;
  int bus = 0;
  int device = 0;
  int function = 0;
  int reg = 0;
  uint32_t value = 0;
  bool operator==(const ConfigAccessRecord&) const = default;
};

inline ConfigAccessRecord ReadRecord(int bus, int device, int function, int reg, uint32_t value) {
  return {ConfigAccessRecord::Kind::kRead, bus, device, function, reg, value};
}

inline ConfigAccessRecord WriteRecord(int bus, int device, int function, int reg, uint32_t value) {
  return {ConfigAccessRecord::Kind::kWrite, bus, device, function, reg, value};
}

// Prints "read 0:3.0 0x10 -> e0000008" or "write 0:3.0 0x10 <- ffffffff" (test messages).
inline std::ostream& operator<<(std::ostream& out, const ConfigAccessRecord& r) {
  const bool read = r.kind == ConfigAccessRecord::Kind::kRead;
  const auto flags = out.flags();
  out << (read ? "read " : "write ") << std::dec << r.bus << ":" << r.device << "." << r.function
      << " 0x" << std::hex << r.reg << (read ? " -> " : " <- ") << r.value;
  out.flags(flags);
  return out;
}

class RecordingAccess final : public ConfigAccess {
 public:
  // Passes calls on to `inner`, which must outlive this object.
  explicit RecordingAccess(ConfigAccess& inner) : inner_(inner) {}

  uint32_t Read(int bus, int device, int function, int reg) override {
    const uint32_t value = inner_.Read(bus, device, function, reg);
    records_.push_back(ReadRecord(bus, device, function, reg, value));
    return value;
  }
  void Write(int bus, int device, int function, int reg, uint32_t value) override {
    records_.push_back(WriteRecord(bus, device, function, reg, value));
    inner_.Write(bus, device, function, reg, value);
  }
  std::string Name() const override { return inner_.Name(); }
  FunctionListing ListFunctions(std::optional<int> bus) override {
    return inner_.ListFunctions(bus);
  }
  std::vector<int> Domains() override { return inner_.Domains(); }
  bool SelectDomain(int domain) override { return inner_.SelectDomain(domain); }
  int SelectedDomain() const override { return inner_.SelectedDomain(); }
  std::string ReadProblem() const override { return inner_.ReadProblem(); }
  FunctionSpace ReadSpace(FunctionLocation at, int start, int end) override {
    return inner_.ReadSpace(at, start, end);
  }
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

  // Every call so far, oldest first.
  const std::vector<ConfigAccessRecord>& records() const { return records_; }
  // Only the writes.
  std::vector<ConfigAccessRecord> Writes() const {
    std::vector<ConfigAccessRecord> writes;
    for (const ConfigAccessRecord& r : records_) {
      if (r.kind == ConfigAccessRecord::Kind::kWrite) writes.push_back(r);
    }
    return writes;
  }
  void Clear() { records_.clear(); }

 private:
  ConfigAccess& inner_;
  std::vector<ConfigAccessRecord> records_;
};

}  // namespace kelvox

#include "caps/space_reader.h"

#include "caps/capability_list.h"
#include "config/space_limits.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kelvox {

namespace {

void Append(FunctionSpace& to, FunctionSpace more) {
  to.bytes.insert(to.bytes.end(), more.bytes.begin(), more.bytes.end());
  to.limit = std::move(more.limit);
}

}  // namespace

ConfigSpace ReadCapabilitySpace(ConfigAccess& access, FunctionLocation at) {
  FunctionSpace read = access.ReadSpace(at, 0, kHeaderBytes);
  if (read.bytes.empty()) {
    return ConfigSpace({}, read.limit.empty() ? kNoFunctionText : read.limit);
  }
  if (read.bytes.size() < static_cast<size_t>(kHeaderBytes) ||
      !HasCapabilityList(ConfigSpace(read.bytes))) {
    return ConfigSpace(std::move(read.bytes), std::move(read.limit));
  }
  Append(read, access.ReadSpace(at, kHeaderBytes, kExtendedSpaceStart));
  if (read.bytes.size() < static_cast<size_t>(kExtendedSpaceStart) ||
      !HasExtendedList(ConfigSpace(read.bytes))) {
    return ConfigSpace(std::move(read.bytes), std::move(read.limit));
  }
  Append(read, access.ReadSpace(at, kExtendedSpaceStart, kMaxSpaceBytes));
  return ConfigSpace(std::move(read.bytes), std::move(read.limit));
}

namespace {

// The registers read so far: a stretch is taken only when the access method reads it whole.
class SparseSpace {
 public:
  SparseSpace(ConfigAccess& access, FunctionLocation at) : access_(access), at_(at) {}
  bool Read(int start, int end) {
    FunctionSpace got = access_.ReadSpace(at_, start, end);
    if (got.bytes.size() < static_cast<size_t>(end - start)) {
      if (limit_.empty()) limit_ = std::move(got.limit);
      return false;
    }
    if (bytes_.size() < static_cast<size_t>(end)) bytes_.resize(static_cast<size_t>(end));
    std::copy(got.bytes.begin(), got.bytes.end(), bytes_.begin() + start);
    return true;
  }
  uint32_t Dword(int at) const {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | bytes_[static_cast<size_t>(at + i)];
    return value;
  }
  ConfigSpace Take() { return ConfigSpace(std::move(bytes_), std::move(limit_)); }
  bool Empty() const { return bytes_.empty(); }

 private:
  ConfigAccess& access_;
  FunctionLocation at_;
  std::vector<uint8_t> bytes_;
  std::string limit_;
};

constexpr int kExpressId = 0x10, kPcixCapabilityId = 0x07, kErrorReportingId = 0x0001;

}  // namespace

ConfigSpace ReadLinkAndErrorRegisters(ConfigAccess& access, FunctionLocation at) {
  SparseSpace space(access, at);
  // The status register and the header type; the IDs and class are not needed here.
  if (!space.Read(0x04, 0x08) || !space.Read(0x0C, 0x10)) {
    ConfigSpace nothing = space.Take();
    if (nothing.limit().empty()) return ConfigSpace({}, kNoFunctionText);
    return nothing;
  }
  const bool has_list = (space.Dword(0x04) >> 16 & 0x10) != 0;
  const int layout = static_cast<int>(space.Dword(0x0C) >> 16 & 0x7F);
  const int pointer = layout == 2 ? 0x14 : 0x34;
  if (!has_list || !space.Read(pointer, pointer + 4)) return space.Take();
  bool extended = false;
  // As HasCapabilityList's walk: within 0x40 to 0xff, each place once.
  std::vector<bool> seen(256);
  for (int cap = static_cast<int>(space.Dword(pointer) & 0xFC); cap >= 0x40 && !seen[cap];
       cap = static_cast<int>(space.Dword(cap) >> 8 & 0xFC)) {
    seen[static_cast<size_t>(cap)] = true;
    if (!space.Read(cap, cap + 4)) return space.Take();
    const int id = static_cast<int>(space.Dword(cap) & 0xFF);
    if (id == kExpressId && cap + 0x3C <= kExtendedSpaceStart) space.Read(cap, cap + 0x3C);
    extended = extended || id == kExpressId || id == kPcixCapabilityId;
  }
  if (!extended) return space.Take();
  std::vector<bool> walked(kMaxSpaceBytes / 4);
  for (int cap = kExtendedSpaceStart; cap >= kExtendedSpaceStart && cap + 4 <= kMaxSpaceBytes &&
                                      !walked[static_cast<size_t>(cap / 4)];) {
    walked[static_cast<size_t>(cap / 4)] = true;
    if (!space.Read(cap, cap + 4)) break;
    const uint32_t header = space.Dword(cap);
    if (header == 0 || header == 0xFFFFFFFFu) break;
    if ((header & 0xFFFF) == kErrorReportingId && cap + 0x48 <= kMaxSpaceBytes) {
      space.Read(cap, cap + 0x48);
    }
    cap = static_cast<int>(header >> 20) & 0xFFC;
  }
  return space.Take();
}

}  // namespace kelvox

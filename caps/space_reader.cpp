#include "caps/space_reader.h"

#include "caps/capability_list.h"
#include "config/space_limits.h"

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

}  // namespace kelvox

#include "caps/config_space.h"

namespace kelvox {

ConfigSpace::ConfigSpace(std::vector<uint8_t> bytes, std::string limit)
    : bytes_(std::move(bytes)), limit_(std::move(limit)) {
  if (bytes_.size() > static_cast<size_t>(kExtendedSpaceBytes)) bytes_.resize(kExtendedSpaceBytes);
}

uint8_t ConfigSpace::Byte(int offset) const { return Readable(offset, 1) ? bytes_[offset] : 0; }

uint16_t ConfigSpace::Word(int offset) const {
  return static_cast<uint16_t>(Byte(offset) | Byte(offset + 1) << 8);
}

uint32_t ConfigSpace::Dword(int offset) const {
  return static_cast<uint32_t>(Word(offset)) | static_cast<uint32_t>(Word(offset + 2)) << 16;
}

}  // namespace kelvox

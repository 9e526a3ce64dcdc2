// A function's configuration space as far as it could be read: its bytes from offset 0 and how
// many there are (64 for the header alone, 128 for a CardBus dump, 256 for conventional PCI,
// 4096 with the PCI Express extended space). A byte past them is not readable: it is never
// taken for 0xff or 0, and the decoders check before they look.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvox {

class ConfigSpace {
 public:
  ConfigSpace() = default;
  // `bytes` as read from offset 0 (at most 4096 are kept); `limit` why no more could be read,
  // in one line a person understands, or "" when the function has no more.
  explicit ConfigSpace(std::vector<uint8_t> bytes, std::string limit = {});

  // How many bytes are readable.
  int size() const { return static_cast<int>(bytes_.size()); }
  // Whether the `length` bytes from `offset` are all readable.
  bool Readable(int offset, int length) const {
    return offset >= 0 && length >= 0 && offset <= size() - length;
  }
  // Little-endian values at `offset`; 0 for bytes that are not readable (ask Readable first).
  uint8_t Byte(int offset) const;
  uint16_t Word(int offset) const;
  uint32_t Dword(int offset) const;

  std::span<const uint8_t> bytes() const { return bytes_; }
  const std::string& limit() const { return limit_; }

 private:
  std::vector<uint8_t> bytes_;
  std::string limit_;
};

// The most bytes a function's configuration space has.
inline constexpr int kExtendedSpaceBytes = 4096;
// Where the extended space starts, past the 256 bytes of conventional PCI.
inline constexpr int kExtendedSpaceStart = 256;

}  // namespace kelvox

#include "text/hex_dump.h"

#include "text/hex_digit.h"

namespace kelvox {

std::string HexDump(std::span<const uint8_t> bytes) {
  std::string out;
  out.reserve(bytes.size() / kDumpBytesPerLine * 54 + 54);
  for (size_t offset = 0; offset < bytes.size(); offset += kDumpBytesPerLine) {
    out += HexText(static_cast<uint32_t>(offset), 2);
    out += ':';
    for (size_t i = offset; i < bytes.size() && i < offset + kDumpBytesPerLine; ++i) {
      out += ' ';
      out += HexText(bytes[i], 2);
    }
    out += '\n';
  }
  return out;
}

}  // namespace kelvox

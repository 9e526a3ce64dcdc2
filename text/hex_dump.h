// Bytes as lspci -x, -xxx and -xxxx dump them: lines of 16 lower-case hex bytes, each after its
// offset ("00: 86 80 ..."), with three digits of offset from 0x100 on ("ff0: ...").
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kelvox {

inline constexpr int kDumpBytesPerLine = 16;

// The lines of `bytes` (the first at offset 0), each ending in a newline; a last short line
// holds what is left.
std::string HexDump(std::span<const uint8_t> bytes);

}  // namespace kelvox

// Hexadecimal fields as the user types them: a fixed number of bytes read as one big-endian
// number. Works on bytes, so every byte of a multi-byte character (0x80 and above, as in the
// CP932 form of a full-width digit) is rejected rather than misread.
#pragma once

#include <cstdint>

#include "text/hex_digit.h"

namespace kelvox {

// The `count` bytes of `text` as a hexadecimal number, most significant digit first; -1 at the
// first byte that is not one of the 22 hexadecimal characters; 0 when count <= 0. Reading stops
// at that byte, so a NUL-terminated text shorter than `count` gives -1 without being overrun.
// Eight digits wrap into the sign bit (FFFFFFFF is -1); the program's fields hold at most six.
std::int32_t ParseHex(const char* text, int count);

}  // namespace kelvox

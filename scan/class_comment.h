// The Japanese class comment of a device row: the base-class name (which starts with two
// blanks) followed directly by the sub-class name in parentheses, where the base class has one.
#pragma once

#include <cstdint>
#include <string>

namespace kelvox {

// `class_register` is configuration register 0x08 (class code in bits 31:8).
std::string ClassComment(uint32_t class_register);

}  // namespace kelvox

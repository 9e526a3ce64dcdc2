// The Japanese class-name tables behind a device row's class comment: one base-class name per
// base class 0x00 to 0x0C plus a shared name for every higher base class, and a sub-class table
// for each base class that names its sub-classes.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kelvox {

// Number of base-class names: 0x00 to 0x0C, then one for 0x0D to 0xFF.
inline constexpr int kBaseClassNames = 14;

// The base-class name, starting with two blanks; base classes above 0x0C share "  ？？？？".
std::string_view BaseClassName(uint8_t base_class);

// The sub-class name in parentheses, or "" when the base class has no sub-class table. A
// sub-class past the table's last named entry gets the table's final "(?)".
std::string_view SubClassName(uint8_t base_class, uint8_t sub_class);

// Every base-class name, indexed as BaseClassName indexes them (for tests and tools).
std::span<const std::string_view> BaseClassNames();

// The whole sub-class table of a base class, ending in "(?)"; empty when it has none.
std::span<const std::string_view> SubClassNames(uint8_t base_class);

}  // namespace kelvox

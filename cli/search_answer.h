// What the vendor and device search window shows for an input, worked out for the terminal:
// the IDs and class code as if typed one character at a time into a fresh window, under the
// window's rules. A vendor or device ID is looked up at exactly 4 characters; device names
// only while the vendor is found; a class code names as many levels as its length gives (2, 4
// or 6 characters), and a 3 or 5 character code keeps the names its first 2 or 4 characters
// gave. Text that is not hexadecimal parses as -1, so it names no vendor and class bytes of
// 0xFF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvox::cli {

// The longest text each field takes, in characters.
inline constexpr size_t kIdFieldChars = 4;
inline constexpr size_t kClassFieldChars = 6;

struct SearchInput {
  std::optional<std::string> vendor_id;   // UTF-8, as typed
  std::optional<std::string> device_id;   // only looked up while the vendor is found
  std::optional<std::string> class_code;  // 0 to 6 characters
};

struct VendorAnswer {
  int32_t value = -1;  // the parsed ID; -1 when not 4 hexadecimal characters
  bool found = false;
  std::string short_name, full_name;
};

struct DeviceAnswer {
  int32_t value = -1;
  bool found = false;
  std::string chip_name, description;
};

struct ClassAnswer {
  // The bytes last looked up (0xFF for a level the code does not give).
  uint8_t base = 0xFF, sub = 0xFF, prog_if = 0xFF;
  std::string base_name, sub_name, prog_if_name;
};

struct SearchAnswer {
  std::optional<VendorAnswer> vendor;  // set when the input had a vendor or a device ID
  std::optional<DeviceAnswer> device;  // set when the input had a device ID
  std::optional<ClassAnswer> class_code;
};

// Number of characters (code points) of a UTF-8 text.
size_t CountCharacters(std::string_view utf8);

// The names the window shows for `input`. Longer texts than a field takes are the caller's to
// reject.
SearchAnswer AnswerSearch(const SearchInput& input);

}  // namespace kelvox::cli

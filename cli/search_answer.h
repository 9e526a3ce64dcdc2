// What the vendor and device search window shows for an input, for the terminal: the IDs and
// class code are typed one character at a time into a fresh SearchForm (the window's own
// rules), the vendor ID before the device ID, and the form's fields and values are read back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvox::cli {

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

// The names the window shows for `input`. Longer texts than a field takes are the caller's to
// reject.
SearchAnswer AnswerSearch(const SearchInput& input);

}  // namespace kelvox::cli

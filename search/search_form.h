// The rules of the vendor and device search window, kept apart from its widgets: the texts of
// its ten fields, the IDs and class code parsed from them, and the handlers that run when the
// user changes the vendor ID, device ID or class code field. The window copies its fields into
// `fields`, calls a handler and copies `fields` back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvox {

// The texts of the search window's fields, UTF-8 as the widgets hold them. All start empty.
struct SearchFields {
  std::string vendor_id;           // edit 1028, up to 4 characters
  std::string vendor_short_name;   // 1031
  std::string vendor_full_name;    // 1032
  std::string device_id;           // edit 1029, up to 4 characters
  std::string chip_name;           // 1033
  std::string device_description;  // 1034
  std::string class_code;          // edit 1030, up to 6 characters
  std::string base_class_name;     // 1035
  std::string sub_class_name;      // 1036
  std::string prog_if_name;        // 1037

  bool operator==(const SearchFields&) const = default;
};

// Field lengths the window allows, in characters.
inline constexpr int kVendorIdChars = 4;
inline constexpr int kDeviceIdChars = 4;
inline constexpr int kClassCodeChars = 6;

// Number of characters (Unicode code points) in a UTF-8 text, as the user sees them.
std::size_t CountCharacters(std::string_view utf8);

// The value of a typed hexadecimal field of exactly `count` characters: its CP932 bytes read by
// ParseHex, so a character outside ASCII (a full-width digit, say) makes it -1.
std::int32_t ParseTypedHex(std::string_view utf8, int count);

class SearchForm {
 public:
  // Vendor ID field changed: with exactly 4 characters naming a known vendor, shows its names,
  // unlocks the device ID field and names the device ID already there for this vendor;
  // otherwise clears the vendor names, the device ID and its names and locks the device field.
  void OnVendorIdChanged();

  // Device ID field changed: with exactly 4 characters naming a device of the stored vendor,
  // shows its chip name and description; otherwise clears both.
  void OnDeviceIdChanged();

  // Class code field changed: names as many levels of the code as its length gives (2, 4 or 6
  // characters); 0 or 1 characters clear all three names, 3 the sub-class and prog-if names,
  // 5 the prog-if name.
  void OnClassCodeChanged();

  SearchFields fields;

  // The last parsed vendor and device IDs (-1 for text that is not hexadecimal, 0 before any).
  std::int32_t vendor_id() const { return vendor_id_; }
  std::int32_t device_id() const { return device_id_; }
  // The last parsed class code value and its three bytes (0xFF where the code gave none).
  std::int32_t class_code() const { return class_code_; }
  std::uint8_t base_class() const { return base_class_; }
  std::uint8_t sub_class() const { return sub_class_; }
  std::uint8_t prog_if() const { return prog_if_; }
  // Whether the device ID field takes input: only while a vendor is found.
  bool device_id_editable() const { return device_id_editable_; }
  // Whether the vendor ID names a vendor, and the device ID a device of that vendor (the names
  // shown may be empty even then).
  bool vendor_found() const { return device_id_editable_; }
  bool device_found() const { return device_found_; }

 private:
  void ClearVendor();
  void LookUpClassNames();

  std::int32_t vendor_id_ = 0;
  std::int32_t device_id_ = 0;
  std::int32_t class_code_ = 0;
  std::uint8_t base_class_ = 0xFF;
  std::uint8_t sub_class_ = 0xFF;
  std::uint8_t prog_if_ = 0xFF;
  bool device_id_editable_ = false;
  bool device_found_ = false;
};

}  // namespace kelvox

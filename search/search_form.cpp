#include "search/search_form.h"

#include "iddb/lookup.h"
#include "iddb/parse_hex.h"
#include "text/cp932.h"

namespace kelvox {

std::size_t CountCharacters(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) {
    // Every code point has exactly one byte that is not a continuation byte (10xxxxxx).
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::int32_t ParseTypedHex(std::string_view utf8, int count) {
  // The CP932 form has at least one byte per character, and ParseHex stops at the first
  // byte that is not a digit, so it never reads past the end.
  const std::string bytes = Utf8ToCp932Lossy(utf8);
  return ParseHex(bytes.c_str(), count);
}

void SearchForm::OnVendorIdChanged() {
  if (CountCharacters(fields.vendor_id) == kVendorIdChars) {
    vendor_id_ = ParseTypedHex(fields.vendor_id, kVendorIdChars);
    std::string_view short_name;
    std::string_view full_name;
    if (FindVendorName(static_cast<std::uint32_t>(vendor_id_), short_name, full_name)) {
      fields.vendor_short_name = short_name;
      fields.vendor_full_name = full_name;
      device_id_editable_ = true;
      // A vendor can replace another in one change (a paste over the selected ID) while a
      // device ID stays typed; its names must then be those of the new vendor's device.
      OnDeviceIdChanged();
      return;
    }
  }
  ClearVendor();
}

void SearchForm::ClearVendor() {
  fields.vendor_short_name.clear();
  fields.vendor_full_name.clear();
  fields.device_id.clear();
  fields.chip_name.clear();
  fields.device_description.clear();
  device_id_editable_ = false;
  device_found_ = false;
}

void SearchForm::OnDeviceIdChanged() {
  if (CountCharacters(fields.device_id) == kDeviceIdChars) {
    device_id_ = ParseTypedHex(fields.device_id, kDeviceIdChars);
    std::string_view chip_name;
    std::string_view description;
    if (FindDeviceName(static_cast<std::uint32_t>(vendor_id_) & 0xFFFF,
                       static_cast<std::uint32_t>(device_id_), chip_name, description)) {
      fields.chip_name = chip_name;
      fields.device_description = description;
      device_found_ = true;
      return;
    }
  }
  fields.chip_name.clear();
  fields.device_description.clear();
  device_found_ = false;
}

void SearchForm::OnClassCodeChanged() {
  // A text that is not hexadecimal parses as -1, so every byte taken from it is 0xFF.
  switch (CountCharacters(fields.class_code)) {
    case 2:
      class_code_ = ParseTypedHex(fields.class_code, 2);
      base_class_ = static_cast<std::uint8_t>(class_code_);
      sub_class_ = 0xFF;
      prog_if_ = 0xFF;
      LookUpClassNames();
      break;
    case 3:
      fields.sub_class_name.clear();
      fields.prog_if_name.clear();
      break;
    case 4:
      class_code_ = ParseTypedHex(fields.class_code, 4);
      base_class_ = static_cast<std::uint8_t>(class_code_ >> 8);
      sub_class_ = static_cast<std::uint8_t>(class_code_);
      prog_if_ = 0xFF;
      LookUpClassNames();
      break;
    case 5:
      fields.prog_if_name.clear();
      break;
    case 6:
      class_code_ = ParseTypedHex(fields.class_code, 6);
      base_class_ = static_cast<std::uint8_t>(class_code_ >> 16);
      sub_class_ = static_cast<std::uint8_t>(class_code_ >> 8);
      prog_if_ = static_cast<std::uint8_t>(class_code_);
      LookUpClassNames();
      break;
    default:
      // Empty, one character, or longer than a class code (the field allows at most six).
      base_class_ = 0xFF;
      sub_class_ = 0xFF;
      prog_if_ = 0xFF;
      fields.base_class_name.clear();
      fields.sub_class_name.clear();
      fields.prog_if_name.clear();
      break;
  }
}

void SearchForm::LookUpClassNames() {
  std::string_view base_name;
  std::string_view sub_name;
  std::string_view prog_if_name;
  FindClassNames(base_class_, sub_class_, prog_if_, base_name, sub_name, prog_if_name);
  fields.base_class_name = base_name;
  fields.sub_class_name = sub_name;
  fields.prog_if_name = prog_if_name;
}

}  // namespace kelvox

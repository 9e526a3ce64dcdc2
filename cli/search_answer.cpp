#include "cli/search_answer.h"

#include <string_view>

#include "iddb/lookup.h"
#include "iddb/parse_hex.h"

namespace kelvox::cli {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The first `count` characters of a UTF-8 text.
std::string_view FirstCharacters(std::string_view utf8, size_t count) {
  size_t at = 0;
  for (size_t seen = 0; at < utf8.size(); ++at) {
    if (!IsContinuationByte(utf8[at]) && seen++ == count) break;
  }
  return utf8.substr(0, at);
}

// The field's value as the window parses it: its bytes in the window's code page, where any
// character outside ASCII is bytes of 0x80 and above, which are never hexadecimal digits.
int32_t ParseTyped(std::string_view utf8, int count) {
  for (char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) return -1;
  }
  if (utf8.size() < static_cast<size_t>(count)) return -1;
  return ParseHex(utf8.data(), count);
}

VendorAnswer AnswerVendor(std::string_view text) {
  VendorAnswer answer;
  if (CountCharacters(text) != kIdFieldChars) return answer;
  answer.value = ParseTyped(text, kIdFieldChars);
  std::string_view short_name, full_name;
  answer.found = FindVendorName(static_cast<uint32_t>(answer.value), short_name, full_name);
  answer.short_name = short_name;
  answer.full_name = full_name;
  return answer;
}

DeviceAnswer AnswerDevice(const VendorAnswer& vendor, std::string_view text) {
  DeviceAnswer answer;
  if (!vendor.found || CountCharacters(text) != kIdFieldChars) return answer;
  answer.value = ParseTyped(text, kIdFieldChars);
  std::string_view chip_name, description;
  answer.found = FindDeviceName(static_cast<uint32_t>(vendor.value) & 0xFFFFu,
                                static_cast<uint32_t>(answer.value), chip_name, description);
  answer.chip_name = chip_name;
  answer.description = description;
  return answer;
}

void LookUp(ClassAnswer& answer) {
  std::string_view base_name, sub_name, prog_if_name;
  FindClassNames(answer.base, answer.sub, answer.prog_if, base_name, sub_name, prog_if_name);
  answer.base_name = base_name;
  answer.sub_name = sub_name;
  answer.prog_if_name = prog_if_name;
}

// One keystroke: the class code field now holds `typed`.
void ClassCodeChanged(ClassAnswer& answer, std::string_view typed) {
  const size_t length = CountCharacters(typed);
  const auto value = static_cast<uint32_t>(ParseTyped(typed, static_cast<int>(length)));
  switch (length) {
    case 0:
    case 1:
      answer = ClassAnswer{};
      break;
    case 2:
      answer.base = value & 0xFF;
      answer.sub = answer.prog_if = 0xFF;
      LookUp(answer);
      break;
    case 3:
      answer.sub_name.clear();
      answer.prog_if_name.clear();
      break;
    case 4:
      answer.base = (value >> 8) & 0xFF;
      answer.sub = value & 0xFF;
      answer.prog_if = 0xFF;
      LookUp(answer);
      break;
    case 5:
      answer.prog_if_name.clear();
      break;
    default:
      answer.base = (value >> 16) & 0xFF;
      answer.sub = (value >> 8) & 0xFF;
      answer.prog_if = value & 0xFF;
      LookUp(answer);
      break;
  }
}

ClassAnswer AnswerClass(std::string_view text) {
  ClassAnswer answer;
  const size_t length = CountCharacters(text);
  for (size_t typed = 1; typed <= length; ++typed) {
    ClassCodeChanged(answer, FirstCharacters(text, typed));
  }
  return answer;
}

}  // namespace

size_t CountCharacters(std::string_view utf8) {
  size_t count = 0;
  for (char c : utf8) count += !IsContinuationByte(c);
  return count;
}

SearchAnswer AnswerSearch(const SearchInput& input) {
  SearchAnswer answer;
  if (input.vendor_id || input.device_id)
    answer.vendor = AnswerVendor(input.vendor_id.value_or(""));
  if (input.device_id) answer.device = AnswerDevice(*answer.vendor, *input.device_id);
  if (input.class_code) answer.class_code = AnswerClass(*input.class_code);
  return answer;
}

}  // namespace kelvox::cli

#include "cli/search_answer.h"

#include <string_view>

#include "search/search_form.h"

namespace kelvox::cli {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Types `text` into one field of `form` as a person would: one character (all the bytes of
// one code point) at a time, running the field's handler after each.
void Type(SearchForm& form, std::string SearchFields::*field, void (SearchForm::*changed)(),
          std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    size_t next = at + 1;
    while (next < text.size() && IsContinuationByte(text[next])) ++next;
    (form.fields.*field).append(text.substr(at, next - at));
    (form.*changed)();
    at = next;
  }
}

// The form's parsed IDs hold the last complete ID typed; an ID field that does not hold 4
// characters has no value.
int32_t IdValue(const std::string& typed, int32_t parsed) {
  return CountCharacters(typed) == static_cast<size_t>(kVendorIdChars) ? parsed : -1;
}

}  // namespace

SearchAnswer AnswerSearch(const SearchInput& input) {
  SearchForm form;
  SearchAnswer answer;
  if (input.vendor_id || input.device_id) {
    Type(form, &SearchFields::vendor_id, &SearchForm::OnVendorIdChanged,
         input.vendor_id.value_or(""));
    answer.vendor =
        VendorAnswer{IdValue(form.fields.vendor_id, form.vendor_id()), form.vendor_found(),
                     form.fields.vendor_short_name, form.fields.vendor_full_name};
  }
  if (input.device_id) {
    // The device field is locked, and takes nothing typed, while no vendor is found.
    if (form.device_id_editable()) {
      Type(form, &SearchFields::device_id, &SearchForm::OnDeviceIdChanged, *input.device_id);
    }
    answer.device =
        DeviceAnswer{IdValue(form.fields.device_id, form.device_id()), form.device_found(),
                     form.fields.chip_name, form.fields.device_description};
  }
  if (input.class_code) {
    Type(form, &SearchFields::class_code, &SearchForm::OnClassCodeChanged, *input.class_code);
    answer.class_code = ClassAnswer{
        form.base_class(),           form.sub_class(),           form.prog_if(),
        form.fields.base_class_name, form.fields.sub_class_name, form.fields.prog_if_name};
  }
  return answer;
}

}  // namespace kelvox::cli

// The search window's rules on any typing. The input is a list of edits, one per line: the
// first byte names the field ('v' vendor ID, 'd' device ID, 'c' class code; any other byte
// picks one by its value) and the rest of the line, any bytes, becomes the field's whole text.
// After each edit the field's handler runs, as the window's change event does, and the fields
// must agree with what the lookups give for that text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "iddb/lookup.h"
#include "search/search_form.h"

namespace {

[[noreturn]] void Fails(const char* what, const kelvox::SearchFields& f) {
  std::fprintf(stderr,
               "search: %s\nvendor [%s] [%s] [%s]\ndevice [%s] [%s] [%s]\nclass [%s] [%s] [%s] "
               "[%s]\n",
               what, f.vendor_id.c_str(), f.vendor_short_name.c_str(), f.vendor_full_name.c_str(),
               f.device_id.c_str(), f.chip_name.c_str(), f.device_description.c_str(),
               f.class_code.c_str(), f.base_class_name.c_str(), f.sub_class_name.c_str(),
               f.prog_if_name.c_str());
  std::abort();
}

void CheckDevice(const kelvox::SearchForm& form) {
  const kelvox::SearchFields& f = form.fields;
  std::string_view chip, description;
  if (form.device_id_editable() && kelvox::CountCharacters(f.device_id) == kelvox::kDeviceIdChars) {
    kelvox::FindDeviceName(
        static_cast<std::uint32_t>(form.vendor_id()),
        static_cast<std::uint32_t>(kelvox::ParseTypedHex(f.device_id, kelvox::kDeviceIdChars)),
        chip, description);
  }
  if (f.chip_name != chip || f.device_description != description) {
    Fails("device names differ from the lookup", f);
  }
}

void CheckVendor(const kelvox::SearchForm& form) {
  const kelvox::SearchFields& f = form.fields;
  std::string_view short_name, full_name;
  const bool found =
      kelvox::CountCharacters(f.vendor_id) == kelvox::kVendorIdChars &&
      kelvox::FindVendorName(
          static_cast<std::uint32_t>(kelvox::ParseTypedHex(f.vendor_id, kelvox::kVendorIdChars)),
          short_name, full_name);
  if (form.device_id_editable() != found) Fails("device field lock disagrees with lookup", f);
  if (f.vendor_short_name != short_name || f.vendor_full_name != full_name) {
    Fails("vendor names differ from the lookup", f);
  }
  if (!found && !f.device_id.empty()) Fails("device ID kept without a vendor", f);
  CheckDevice(form);
}

void CheckClass(const kelvox::SearchForm& form, const kelvox::SearchFields& before) {
  const kelvox::SearchFields& f = form.fields;
  const std::size_t chars = kelvox::CountCharacters(f.class_code);
  if (chars == 3 || chars == 5) {
    // The names of the shorter code stay; the level being typed is cleared.
    if (f.base_class_name != before.base_class_name) Fails("base name changed", f);
    if (chars == 3 && !f.sub_class_name.empty()) Fails("sub-class name at 3 characters", f);
    if (chars == 5 && f.sub_class_name != before.sub_class_name) Fails("sub name changed", f);
    if (!f.prog_if_name.empty()) Fails("prog-if name before 6 characters", f);
    return;
  }
  if (chars != 2 && chars != 4 && chars != 6) {
    if (!f.base_class_name.empty() || !f.sub_class_name.empty() || !f.prog_if_name.empty()) {
      Fails("class names for a code of no level", f);
    }
    return;
  }
  const std::int32_t value = kelvox::ParseTypedHex(f.class_code, static_cast<int>(chars));
  const auto byte = [&](std::size_t level) -> std::uint32_t {
    if (level * 2 + 2 > chars) return 0xFF;
    return (static_cast<std::uint32_t>(value) >> (8 * ((chars - 2) / 2 - level))) & 0xFF;
  };
  std::string_view base, sub, prog_if;
  kelvox::FindClassNames(byte(0), byte(1), byte(2), base, sub, prog_if);
  if (f.base_class_name != base || f.sub_class_name != sub || f.prog_if_name != prog_if) {
    Fails("class names differ from the lookup", f);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  kelvox::SearchForm form;
  std::size_t at = 0;
  while (at < input.size()) {
    std::size_t stop = input.find('\n', at);
    if (stop == std::string_view::npos) stop = input.size();
    const std::string_view line = input.substr(at, stop - at);
    at = stop + 1;
    if (line.empty()) continue;
    char field = line[0];
    if (field != 'v' && field != 'd' && field != 'c') {
      field = "vdc"[static_cast<unsigned char>(field) % 3];
    }
    const std::string text(line.substr(1));
    if (field == 'v') {
      form.fields.vendor_id = text;
      form.OnVendorIdChanged();
      CheckVendor(form);
    } else if (field == 'd') {
      // The window locks the device field while no vendor is found.
      if (!form.device_id_editable()) continue;
      form.fields.device_id = text;
      form.OnDeviceIdChanged();
      CheckDevice(form);
    } else {
      const kelvox::SearchFields before = form.fields;
      form.fields.class_code = text;
      form.OnClassCodeChanged();
      CheckClass(form, before);
    }
  }
  return 0;
}

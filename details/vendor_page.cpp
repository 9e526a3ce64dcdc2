#include "details/vendor_page.h"

#include <string_view>

#include "details/details_texts.h"
#include "details/format.h"
#include "iddb/lookup.h"

namespace kelvox {

VendorPage VendorPageFields(uint32_t reg00, uint32_t reg08) {
  const uint32_t vendor_id = reg00 & 0xFFFFu;
  const uint32_t device_id = reg00 >> 16;
  const uint32_t class_code = reg08 >> 8;

  std::string_view short_name, full_name, chip_name, description;
  FindVendorName(vendor_id, short_name, full_name);
  FindDeviceName(vendor_id, device_id, chip_name, description);
  std::string_view base_name, sub_name, prog_if_name;
  FindClassNames(reg08 >> 24, (reg08 >> 16) & 0xFFu, (reg08 >> 8) & 0xFFu, base_name, sub_name,
                 prog_if_name);

  return {{
      {kVendorIdControl, kVendorIdLabel, Printf("%04x", vendor_id)},
      {kVendorShortNameControl, {}, std::string(short_name)},
      {kVendorFullNameControl, {}, std::string(full_name)},
      {kDeviceIdControl, kDeviceIdLabel, Printf("%04x", device_id)},
      {kChipNameControl, {}, std::string(chip_name)},
      {kDeviceDescriptionControl, {}, std::string(description)},
      {kClassCodeControl, kClassCodeLabel, Printf("%06x", class_code)},
      {kBaseClassNameControl, {}, std::string(base_name)},
      {kSubClassNameControl, {}, std::string(sub_name)},
      {kProgIfNameControl, {}, std::string(prog_if_name)},
  }};
}

}  // namespace kelvox

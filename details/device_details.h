// Every text of the device details sheet for one function, built from configuration reads,
// base address register sizing and the PCI ID tables. The window binds these texts to its
// controls; the terminal front end prints them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/access.h"
#include "details/base_address_texts.h"
#include "details/misc_texts.h"
#include "details/system_texts.h"
#include "details/vendor_page.h"

namespace kelvox {

struct DeviceDetails {
  std::string caption;  // "バス番号=…, 機能番号=…, デバイス番号=… の詳細情報"
  VendorPage vendor;             // page "ベンダ情報"
  BaseAddressPage base_address;  // page "ベースアドレス"
  MiscPage misc;                 // page "割込みなど"
  // Page "システム": what the operating system knows (nothing when the access method knows
  // none of it) and its fields (none then).
  std::optional<FunctionFacts> facts;
  std::vector<DetailsField> system;
};

// Reads the header of the function in the access's selected domain in the order 0x00, 0x08,
// the base address registers (sized one by one: 0x10 to 0x24, then 0x30), 0x0C, 0x3C, 0x28,
// 0x2C and formats every field. An absent function reads all ones and still gives a full set
// of texts. Then asks the access method for the function's facts. The numbers are used as
// given; rejecting a device number outside 0 to 31 is the caller's business.
DeviceDetails BuildDeviceDetails(ConfigAccess& access, int bus, int device, int function);

}  // namespace kelvox

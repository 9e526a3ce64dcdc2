#include "details/base_address_texts.h"

#include <string>

#include "decode/base_address.h"
#include "details/format.h"

namespace kelvox {

BaseAddressPage BaseAddressPageFields(ConfigAccess& access, int bus, int device, int function) {
  BaseAddressPage page;
  std::string decoded;
  for (size_t i = 0; i < page.size(); ++i) {
    const int32_t value =
        DecodeBaseAddressRegister(access, bus, device, function, kBaseAddressOffsets[i], decoded);
    // The value is a 32-bit register: print its bits, never a sign-extended long.
    page[i].id = kBaseAddressControls[i];
    page[i].text = Printf("%08lx (%s)", static_cast<unsigned long>(static_cast<uint32_t>(value)),
                          decoded.c_str());
  }
  return page;
}

}  // namespace kelvox

// The fields of the "ベースアドレス" page: each base address register and the expansion ROM
// base address register, sized and decoded, shown as "value (range : kind)".
#pragma once

#include <array>

#include "config/access.h"
#include "details/details_field.h"

namespace kelvox {

// Controls for the registers at 0x10, 0x14, 0x18, 0x1C, 0x20, 0x24 and 0x30, in that order.
inline constexpr std::array<int, 7> kBaseAddressControls = {1006, 1007, 1008, 1009,
                                                            1010, 1011, 1012};

using BaseAddressPage = std::array<DetailsField, 7>;

// Sizes and decodes the seven registers of the function in order (each one is written and
// restored, see decode/base_address.h). The fields have no labels of their own: the page
// groups them under kBaseAddressGroupLabel and kExpansionRomGroupLabel.
BaseAddressPage BaseAddressPageFields(ConfigAccess& access, int bus, int device, int function);

}  // namespace kelvox

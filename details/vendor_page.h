// The fields of the "ベンダ情報" page: vendor, device and class code of a function with the
// names the embedded PCI ID tables give them.
#pragma once

#include <array>
#include <cstdint>

#include "details/details_field.h"

namespace kelvox {

inline constexpr int kVendorIdControl = 1028;
inline constexpr int kDeviceIdControl = 1029;
inline constexpr int kClassCodeControl = 1030;
inline constexpr int kVendorShortNameControl = 1031;
inline constexpr int kVendorFullNameControl = 1032;
inline constexpr int kChipNameControl = 1033;
inline constexpr int kDeviceDescriptionControl = 1034;
inline constexpr int kBaseClassNameControl = 1035;
inline constexpr int kSubClassNameControl = 1036;
inline constexpr int kProgIfNameControl = 1037;

using VendorPage = std::array<DetailsField, 10>;

// The ten fields, in the order vendor ID, short and full vendor name, device ID, chip name and
// description, class code, base-class, sub-class and programming-interface names. `reg00`
// holds the vendor and device IDs, `reg08` the class code in bits 31:8. A vendor or device
// the tables lack leaves its two name fields empty; the IDs are shown all the same.
VendorPage VendorPageFields(uint32_t reg00, uint32_t reg08);

}  // namespace kelvox

// The fields of the "割込みなど" page: interrupt, timing, BIST, CardBus CIS pointer and
// subsystem registers of the configuration header, formatted from the register dwords.
#pragma once

#include <array>
#include <cstdint>

#include "details/details_field.h"

namespace kelvox {

inline constexpr int kInterruptLineControl = 1012;
inline constexpr int kInterruptPinControl = 1013;
inline constexpr int kMaxLatencyControl = 1014;
inline constexpr int kMinGrantControl = 1015;
inline constexpr int kBistControl = 1016;
inline constexpr int kLatencyTimerControl = 1017;
inline constexpr int kCacheLineSizeControl = 1020;
inline constexpr int kCardbusCisControl = 1021;
inline constexpr int kSubsystemVendorIdControl = 1022;
inline constexpr int kSubsystemIdControl = 1023;

using MiscPage = std::array<DetailsField, 10>;

// The ten fields in control order, from registers 0x0C (cache line, latency timer, BIST),
// 0x3C (interrupt line and pin, grant, latency), 0x28 (CIS pointer) and 0x2C (subsystem IDs).
// Bytes are shown unsigned in decimal, BIST as two hex digits and "H".
MiscPage MiscPageFields(uint32_t reg0c, uint32_t reg3c, uint32_t reg28, uint32_t reg2c);

}  // namespace kelvox

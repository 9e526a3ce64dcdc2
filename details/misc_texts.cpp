#include "details/misc_texts.h"

#include "details/details_texts.h"
#include "details/format.h"

namespace kelvox {
namespace {

// Byte `index` (0 = bits 7:0) of a register.
unsigned ByteOf(uint32_t reg, int index) { return (reg >> (8 * index)) & 0xFFu; }

}  // namespace

MiscPage MiscPageFields(uint32_t reg0c, uint32_t reg3c, uint32_t reg28, uint32_t reg2c) {
  return {{
      {kInterruptLineControl, kInterruptLineLabel, Printf("%u", ByteOf(reg3c, 0))},
      {kInterruptPinControl, kInterruptPinLabel, Printf("%u", ByteOf(reg3c, 1))},
      {kMaxLatencyControl, kMaxLatencyLabel, Printf("%u", ByteOf(reg3c, 3))},
      {kMinGrantControl, kMinGrantLabel, Printf("%u", ByteOf(reg3c, 2))},
      {kBistControl, kBistLabel, Printf("%02xH", ByteOf(reg0c, 3))},
      {kLatencyTimerControl, kLatencyTimerLabel, Printf("%u", ByteOf(reg0c, 1))},
      {kCacheLineSizeControl, kCacheLineSizeLabel, Printf("%u", ByteOf(reg0c, 0))},
      {kCardbusCisControl, kCardbusCisLabel, Printf("%08lx", static_cast<unsigned long>(reg28))},
      {kSubsystemVendorIdControl, kSubsystemVendorIdLabel, Printf("%04x", reg2c & 0xFFFFu)},
      {kSubsystemIdControl, kSubsystemIdLabel, Printf("%04x", reg2c >> 16)},
  }};
}

}  // namespace kelvox

// Sizing writes answered without reaching a device, for the access methods that never write
// one (sysfs, the Windows device manager). Software sizes a base address register by writing
// all ones into it and reading back which bits stuck; such a method instead arms, on a write of
// all ones, the read-back the device would give, which the next reads of that register return.
// Any other write to the register (putting the old value back) disarms it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "config/function_location.h"

namespace kelvox {

class SizingAnswers {
 public:
  // What a read of the register `reg` (any byte of its dword) of `at` returns while it is armed.
  std::optional<uint32_t> Armed(FunctionLocation at, int reg) const;

  // A write of `value` to the register: all ones arms it with what `read_back` gives (nothing
  // leaves it unarmed, for a register that does not size); any other value disarms it.
  void Write(FunctionLocation at, int reg, uint32_t value,
             const std::function<std::optional<uint32_t>()>& read_back);

 private:
  std::map<std::pair<FunctionLocation, int>, uint32_t> armed_;
};

}  // namespace kelvox

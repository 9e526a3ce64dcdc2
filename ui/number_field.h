// The rules of a dialog's integer field: what text counts as an integer, the range message,
// and how the up-down arrows step the number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvox {

struct IntRange {
  int min = 0;
  int max = 0;
  bool Contains(int64_t value) const { return value >= min && value <= max; }
};

// The integer a field's text holds: optional blanks, an optional sign, ASCII decimal digits,
// optional blanks, and a value that fits a signed 32-bit integer. Anything else (letters,
// empty text, full-width digits, a number too large) is nothing.
std::optional<int32_t> ParseFieldInteger(std::string_view text);

// "%1 から %2 までの整数を入力してください。" with the range's bounds in place of %1 and %2.
std::string RangeMessage(IntRange range);

// The number after one step of the arrows (delta +1 or -1): it starts from the field's value
// when that is an integer in range, else from `held` (the up-down's own position), and stops at
// the range's ends.
int StepFieldNumber(std::optional<int32_t> field_value, int held, int delta, IntRange range);

}  // namespace kelvox

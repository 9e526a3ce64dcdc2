#include "ui/number_field.h"

#include <algorithm>

#include "ui/texts.h"

namespace kelvox {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void ReplaceFirst(std::string& text, std::string_view what, const std::string& with) {
  const auto at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), with);
}
}  // namespace

std::optional<int32_t> ParseFieldInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t first_digit = i;
  int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  if (i == first_digit) return std::nullopt;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::string RangeMessage(IntRange range) {
  std::string message = texts::kRangeMessage;
  ReplaceFirst(message, "%1", std::to_string(range.min));
  ReplaceFirst(message, "%2", std::to_string(range.max));
  return message;
}

int StepFieldNumber(std::optional<int32_t> field_value, int held, int delta, IntRange range) {
  const int64_t start = field_value && range.Contains(*field_value) ? *field_value : held;
  return static_cast<int>(std::clamp<int64_t>(start + delta, range.min, range.max));
}

}  // namespace kelvox

#include "ui/bus_function_form.h"

namespace kelvox {

namespace {
// Reads one field into `value`; the failure when its text is not an integer in `range`.
std::optional<FieldFailure> Exchange(std::string_view text, IntRange range, FormField field,
                                     int& value) {
  const std::optional<int32_t> parsed = ParseFieldInteger(text);
  if (!parsed || !range.Contains(*parsed)) return FieldFailure{field, RangeMessage(range)};
  value = *parsed;
  return std::nullopt;
}
}  // namespace

std::optional<FieldFailure> BusFunctionForm::Retrieve(std::string_view bus_text,
                                                      std::string_view function_text) {
  if (auto failure = Exchange(bus_text, kBusRange, FormField::kBus, bus_)) return failure;
  return Exchange(function_text, kFunctionRange, FormField::kFunction, function_);
}

}  // namespace kelvox

// What a person types into the window's bus and function fields, on any bytes. ParseFieldInteger
// is checked against the C library's strtoll on the same text with its blanks trimmed, and the
// arrows' step from whatever was read must stay in the field's range and move by at most one.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "ui/number_field.h"

namespace {

[[noreturn]] void Fails(const char* what, const std::string& text) {
  std::fprintf(stderr, "field_number: %s (text of %zu bytes)\n", what, text.size());
  std::abort();
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The integer by the C library: blanks trimmed at both ends, then one optional sign and ASCII
// digits only (strtoll alone would also take its own blanks, a sign after blanks, or a locale's
// digits), within 32 bits.
std::optional<int32_t> Expected(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  const std::string owned(text);
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(owned.c_str(), &end, 10);
  if (errno == ERANGE || end != owned.c_str() + owned.size()) return std::nullopt;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<int32_t> read = kelvox::ParseFieldInteger(text);
  if (read != Expected(text)) Fails("ParseFieldInteger disagrees with strtoll", text);
  for (const kelvox::IntRange range : {kelvox::IntRange{0, 255}, kelvox::IntRange{0, 7}}) {
    for (int delta : {-1, 1}) {
      for (int held : {range.min, range.max}) {
        const int next = kelvox::StepFieldNumber(read, held, delta, range);
        if (!range.Contains(next)) Fails("a step left the range", text);
        const int from = read && range.Contains(*read) ? *read : held;
        if (next - from != delta && next != from) Fails("a step moved by more than one", text);
      }
    }
  }
  return 0;
}

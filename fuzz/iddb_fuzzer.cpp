// The hexadecimal parser and the ID lookups on any bytes. The first byte picks how many
// characters ParseHex reads (negative counts included); its answer is checked against the C
// library's strtoul. The rest of the input is then read as the search window reads it: a
// vendor ID, a device ID and a class code, whose names are looked up, and as raw keys.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "iddb/lookup.h"
#include "iddb/parse_hex.h"

namespace {

[[noreturn]] void Fails(const char* what, const std::string& text, int count) {
  std::fprintf(stderr, "iddb: %s (count %d, text of %zu bytes)\n", what, count, text.size());
  std::abort();
}

// What ParseHex must give for `count` characters of `text`: -1 unless all of them are
// hexadecimal digits (the terminating NUL is not one); otherwise the last eight digits, the
// only ones that fit in 32 bits, as the C library reads them.
std::int32_t ExpectedHex(const std::string& text, int count) {
  if (count <= 0) return 0;
  for (int i = 0; i < count; ++i) {
    if (static_cast<std::size_t>(i) >= text.size() ||
        !std::isxdigit(static_cast<unsigned char>(text[i]))) {
      return -1;
    }
  }
  const int first = count > 8 ? count - 8 : 0;
  const std::string digits = text.substr(first, count - first);
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16)));
}

// Reads every byte of a name, so the sanitizers see a name pointing outside its table.
std::size_t Touch(std::string_view name) {
  std::size_t sum = 0;
  for (const char c : name) sum += static_cast<unsigned char>(c);
  return sum;
}

void LookUp(std::uint32_t vendor, std::uint32_t device, std::uint32_t class_code) {
  static const std::string_view kUntouched = "untouched";
  std::string_view a = kUntouched, b = kUntouched;
  if (kelvox::FindVendorName(vendor, a, b)) {
    Touch(a);
    Touch(b);
  } else if (a.data() != kUntouched.data() || b.data() != kUntouched.data()) {
    Fails("FindVendorName changed its outputs without finding the vendor", {}, 0);
  }
  std::string_view c = kUntouched, d = kUntouched;
  if (kelvox::FindDeviceName(vendor, device, c, d)) {
    Touch(c);
    Touch(d);
  } else if (c.data() != kUntouched.data() || d.data() != kUntouched.data()) {
    Fails("FindDeviceName changed its outputs without finding the device", {}, 0);
  }
  std::string_view base = kUntouched, sub = kUntouched, prog_if = kUntouched;
  kelvox::FindClassNames(class_code >> 16, class_code >> 8, class_code, base, sub, prog_if);
  if (base.data() == kUntouched.data() || sub.data() == kUntouched.data() ||
      prog_if.data() == kUntouched.data()) {
    Fails("FindClassNames left an output unset", {}, 0);
  }
  Touch(base);
  Touch(sub);
  Touch(prog_if);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int count = static_cast<int>(static_cast<std::int8_t>(data[0]));
  // A std::string is NUL-terminated, as the window's texts are; a count past its end must
  // stop at the NUL (AddressSanitizer sees any read beyond it).
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::int32_t parsed = kelvox::ParseHex(text.c_str(), count);
  if (parsed != ExpectedHex(text, count)) Fails("ParseHex disagrees with strtoul", text, count);

  // The three search fields in a row: 4, 4 and 6 characters.
  const std::string padded = text + std::string(14, '\0');
  const std::int32_t vendor = kelvox::ParseHex(padded.c_str(), 4);
  const std::int32_t device = kelvox::ParseHex(padded.c_str() + 4, 4);
  const std::int32_t class_code = kelvox::ParseHex(padded.c_str() + 8, 6);
  LookUp(static_cast<std::uint32_t>(vendor), static_cast<std::uint32_t>(device),
         static_cast<std::uint32_t>(class_code));
  // The same bytes as raw keys, wider than the registers they name.
  std::uint32_t raw[3] = {};
  for (std::size_t i = 0; i < 12 && i < text.size(); ++i) {
    raw[i / 4] = raw[i / 4] << 8 | static_cast<unsigned char>(text[i]);
  }
  LookUp(raw[0], raw[1], raw[2]);
  return 0;
}

// Small makers of capability fields for the decoders, so that each decoder reads as the
// register layout it decodes: a flag is "Name+" or "Name-", a number its text and value.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "caps/capability.h"

namespace kelvox {

// One flag of a register: its key, its label and its bit.
struct FlagBit {
  std::string_view key;
  std::string_view label;
  int bit;
};

// The flags of `value` at `bits`, in order.
std::vector<CapField> FlagsOf(uint32_t value, std::initializer_list<FlagBit> bits);

// Adds the flags of `value` at `bits` to `to`, and returns their texts joined by blanks, as
// FlagsText would of them: "ExtTag- RBE+". Cheaper than FlagsOf, then appending, then joining.
std::string AppendFlags(std::vector<CapField>& to, uint32_t value,
                        std::initializer_list<FlagBit> bits);

// Moves `from` onto the end of `to`.
void Append(std::vector<CapField>& to, std::vector<CapField>&& from);

// "Label+" or "Label-", valued true or false.
CapField Flag(std::string_view key, std::string_view label, bool on);
// A number with the text it is shown as ("MaxPayload 256 bytes": label "MaxPayload", text
// "256 bytes").
CapField Number(std::string_view key, std::string_view label, int64_t value, std::string text);
// A text value.
CapField Text(std::string_view key, std::string_view label, std::string value);
// A register: its label, its text, and its fields.
CapField Register(std::string_view key, std::string_view label, std::string text,
                  std::vector<CapField> fields = {});
// The fields given, moved into a vector (an initializer list would copy each one).
template <typename... Fields_>
std::vector<CapField> Fields(Fields_&&... fields) {
  std::vector<CapField> all;
  all.reserve(sizeof...(fields));
  (all.push_back(std::forward<Fields_>(fields)), ...);
  return all;
}

// A register of flags: its text the flags' texts joined ("ExtTag- RBE+").
CapField FlagsRegister(std::string_view key, std::string_view label, std::vector<CapField> flags);

// A field the capability's first line already shows: in JSON and the tree only.
CapField Hidden(CapField field);

// How a flag reads in lspci's text: "Label+" or "Label-".
std::string FlagText(std::string_view label, bool on);

// The texts of `fields` joined by blanks: "ExtTag- RBE+".
std::string FlagsText(const std::vector<CapField>& fields);

// `value` in lower-case hex, `digits` wide.
std::string Hex(uint64_t value, int digits);

}  // namespace kelvox

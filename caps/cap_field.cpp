#include "caps/cap_field.h"

#include <algorithm>

#include "text/hex_digit.h"

namespace kelvox {

std::string FlagText(std::string_view label, bool on) {
  std::string text;
  text.reserve(label.size() + 1);
  text.append(label);
  text.push_back(on ? '+' : '-');
  return text;
}

namespace {

// Makes a flag where it is to stay: a flag is the commonest field, and moving one costs as much
// as making it.
void SetFlag(CapField& field, std::string_view key, std::string_view label, bool on) {
  field.key = key;
  field.label = label;
  field.text.reserve(label.size() + 1);
  field.text.append(label);
  field.text.push_back(on ? '+' : '-');
  field.value = on;
}

// Room for `more` fields past the end of `to`, growing as push_back does so that appending
// group after group stays linear.
void MakeRoom(std::vector<CapField>& to, size_t more) {
  if (to.size() + more > to.capacity()) to.reserve(std::max(to.size() + more, 2 * to.capacity()));
}

}  // namespace

CapField Flag(std::string_view key, std::string_view label, bool on) {
  CapField field;
  SetFlag(field, key, label, on);
  return field;
}

std::vector<CapField> FlagsOf(uint32_t value, std::initializer_list<FlagBit> bits) {
  std::vector<CapField> flags(bits.size());
  auto flag = flags.begin();
  for (const FlagBit& bit : bits) SetFlag(*flag++, bit.key, bit.label, (value >> bit.bit & 1) != 0);
  return flags;
}

std::string AppendFlags(std::vector<CapField>& to, uint32_t value,
                        std::initializer_list<FlagBit> bits) {
  MakeRoom(to, bits.size());
  std::string text;
  size_t length = 0;
  for (const FlagBit& bit : bits) length += bit.label.size() + 2;
  text.reserve(length);
  for (const FlagBit& bit : bits) {
    CapField& flag = to.emplace_back();
    SetFlag(flag, bit.key, bit.label, (value >> bit.bit & 1) != 0);
    if (!text.empty()) text += ' ';
    text += flag.text;
  }
  return text;
}

void Append(std::vector<CapField>& to, std::vector<CapField>&& from) {
  MakeRoom(to, from.size());
  for (CapField& field : from) to.push_back(std::move(field));
  from.clear();
}

CapField Number(std::string_view key, std::string_view label, int64_t value, std::string text) {
  CapField field;
  field.key = key;
  field.label = label;
  field.text = std::move(text);
  field.value = value;
  return field;
}

CapField Text(std::string_view key, std::string_view label, std::string value) {
  CapField field;
  field.key = key;
  field.label = label;
  field.text = value;
  field.value = std::move(value);
  return field;
}

CapField Register(std::string_view key, std::string_view label, std::string text,
                  std::vector<CapField> fields) {
  CapField field;
  field.key = key;
  field.label = label;
  field.text = std::move(text);
  field.children = std::move(fields);
  return field;
}

CapField FlagsRegister(std::string_view key, std::string_view label, std::vector<CapField> flags) {
  std::string text = FlagsText(flags);
  return Register(key, label, std::move(text), std::move(flags));
}

CapField Hidden(CapField field) {
  field.shown = false;
  return field;
}

std::string FlagsText(const std::vector<CapField>& fields) {
  std::string text;
  size_t length = 0;
  for (const CapField& field : fields) length += field.text.size() + 1;
  text.reserve(length);
  for (const CapField& field : fields) {
    if (!text.empty()) text += ' ';
    text += field.text;
  }
  return text;
}

std::string Hex(uint64_t value, int digits) {
  std::string text;
  if (value > 0xFFFFFFFFu) {
    text = HexText(static_cast<uint32_t>(value >> 32), digits > 8 ? digits - 8 : 1) +
           HexText(static_cast<uint32_t>(value), 8);
  } else {
    text = HexText(static_cast<uint32_t>(value), digits);
  }
  return text;
}

}  // namespace kelvox

#include "cli/function_list.h"

#include <cstdio>

#include "cli/subsystem_name.h"
#include "iddb/lookup.h"
#include "iddb/parse_hex.h"

namespace kelvox::cli {

namespace {

std::string OrDash(std::string text) { return text.empty() ? "-" : text; }

// The non-empty parts, `separator` between them.
std::string Joined(std::initializer_list<std::string_view> parts, std::string_view separator) {
  std::string text;
  for (std::string_view part : parts) {
    if (part.empty()) continue;
    if (!text.empty()) text += separator;
    text += part;
  }
  return text;
}

// The value of `text` when it is exactly `count` ASCII hexadecimal digits.
std::optional<uint32_t> HexDigits(std::string_view text, size_t count) {
  if (text.size() != count) return std::nullopt;
  const int32_t value = ParseHex(text.data(), static_cast<int>(count));
  if (value < 0) return std::nullopt;
  return static_cast<uint32_t>(value);
}

}  // namespace

namespace {

// Names the function whose registers these are, its address given.
ListedFunction Named(std::string address, uint32_t reg00, uint32_t reg08, uint32_t reg0c,
                     uint32_t reg2c, bool read_subsystem) {
  ListedFunction f;
  f.address = std::move(address);
  f.reg00 = reg00;
  f.reg08 = reg08;
  const uint32_t vendor_id = f.reg00 & 0xFFFF, device_id = f.reg00 >> 16;
  FindVendorName(vendor_id, f.vendor_short_name, f.vendor_full_name);
  std::string_view vendor_line_name;
  FindVendorLineName(vendor_id, vendor_line_name);
  FindDeviceName(vendor_id, device_id, f.chip_name, f.device_description);
  FindClassNames(f.reg08 >> 24, (f.reg08 >> 16) & 0xFF, (f.reg08 >> 8) & 0xFF, f.base_class_name,
                 f.sub_class_name, f.prog_if_name);
  char ids[32];
  std::snprintf(ids, sizeof ids, " %04x:%04x %06x  ", vendor_id, device_id, f.reg08 >> 8);
  f.text = f.address + ids + OrDash(std::string(vendor_line_name)) + " | " +
           OrDash(Joined({f.chip_name, f.device_description}, " ")) + " | " +
           OrDash(Joined({f.base_class_name, f.sub_class_name, f.prog_if_name}, " / "));
  if (read_subsystem) {
    f.subsystem_name = SubsystemName(f.reg00, reg0c, reg2c);
    if (f.subsystem_name) f.text += " | " + std::string(*f.subsystem_name);
  }
  return f;
}

}  // namespace

ListedFunction DescribeFunction(ConfigAccess& access, FunctionLocation at, bool with_domain) {
  const DomainScope in_domain(access, at.domain);
  // A function asleep in D3cold is named from what the system keeps of it, not woken.
  const std::optional<KeptRegisters> kept = access.SleepingRegisters(at);
  const auto read = [&](int reg) {
    return kept ? kept->Register(reg) : access.Read(at.bus, at.device, at.function, reg);
  };
  const uint32_t reg00 = read(0x00);
  const uint32_t reg08 = read(0x08);
  const bool subsystem = IdListNamesSubsystems();
  const uint32_t reg0c = subsystem ? read(0x0C) : 0;
  const uint32_t reg2c = subsystem ? read(0x2C) : 0;
  ListedFunction f = Named(with_domain ? DomainLocationText(at) : LocationText(at), reg00, reg08,
                           reg0c, reg2c, subsystem);
  f.at = at;
  f.kept = kept;
  return f;
}

ListedFunction DescribeUnplaced(const UnplacedFunction& function) {
  ListedFunction f = Named(function.name, function.reg00, function.reg08, 0, function.reg2c,
                           IdListNamesSubsystems());
  f.placed = false;
  return f;
}

Json ListedFunctionJson(const ListedFunction& f) {
  char vendor[8], device[8], class_code[8];
  std::snprintf(vendor, sizeof vendor, "%04x", f.reg00 & 0xFFFF);
  std::snprintf(device, sizeof device, "%04x", f.reg00 >> 16);
  std::snprintf(class_code, sizeof class_code, "%06x", f.reg08 >> 8);
  const auto number = [&f](int value) { return f.placed ? Json(value) : Json(); };
  Json object = {{"address", f.address},
                 {"domain", number(f.at.domain)},
                 {"bus", number(f.at.bus)},
                 {"device", number(f.at.device)},
                 {"function", number(f.at.function)},
                 {"vendor_id", ValueAndText(f.reg00 & 0xFFFF, vendor)},
                 {"device_id", ValueAndText(f.reg00 >> 16, device)},
                 {"class_code", ValueAndText(f.reg08 >> 8, class_code)},
                 {"vendor_short_name", f.vendor_short_name},
                 {"vendor_full_name", f.vendor_full_name},
                 {"chip_name", f.chip_name},
                 {"device_description", f.device_description},
                 {"base_class_name", f.base_class_name},
                 {"sub_class_name", f.sub_class_name},
                 {"prog_if_name", f.prog_if_name}};
  if (IdListNamesSubsystems()) {
    object["subsystem_name"] = f.subsystem_name ? Json(*f.subsystem_name) : Json();
  }
  object["text"] = f.text;
  return object;
}

bool ListFilter::Accepts(const ListedFunction& function) const {
  if (vendor_id && (function.reg00 & 0xFFFF) != *vendor_id) return false;
  if (class_prefix && (function.reg08 >> (32 - 4 * class_digits)) != *class_prefix) return false;
  return true;
}

bool ParseVendorFilter(std::string_view text, ListFilter& filter) {
  const std::optional<uint32_t> value = HexDigits(text, 4);
  if (!value) return false;
  filter.vendor_id = static_cast<uint16_t>(*value);
  return true;
}

bool ParseClassFilter(std::string_view text, ListFilter& filter) {
  if (text.size() != 2 && text.size() != 4 && text.size() != 6) return false;
  const std::optional<uint32_t> value = HexDigits(text, text.size());
  if (!value) return false;
  filter.class_prefix = *value;
  filter.class_digits = static_cast<int>(text.size());
  return true;
}

}  // namespace kelvox::cli

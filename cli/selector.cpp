#include "cli/selector.h"

#include "text/hex_digit.h"

namespace kelvox::cli {

namespace {

// One part of a selector: nothing for "" or "*" (any), else its hexadecimal value when it is
// at most `max`. False when the part is neither.
template <typename T>
bool ReadPart(std::string_view part, uint32_t max, std::optional<T>& value) {
  if (part.empty() || part == "*") return true;
  const std::optional<uint32_t> number = HexNumber(part);
  if (!number || *number > max) return false;
  value = static_cast<T>(*number);
  return true;
}

std::string Invalid(std::string_view option, std::string_view what, std::string_view part,
                    std::string_view range) {
  return std::string(option) + ": invalid " + std::string(what) + " '" + std::string(part) +
         "' (hexadecimal " + std::string(range) + ")";
}

}  // namespace

bool Selector::MatchesPlace(FunctionLocation at) const {
  return (!domain || *domain == at.domain) && (!bus || *bus == at.bus) &&
         (!device || *device == at.device) && (!function || *function == at.function);
}

bool Selector::MatchesIds(uint32_t reg00, uint32_t reg08) const {
  return (!vendor_id || *vendor_id == (reg00 & 0xFFFF)) &&
         (!device_id || *device_id == (reg00 >> 16)) &&
         (!class_code || *class_code == (reg08 >> 16));
}

std::string Selector::Description() const {
  std::string text;
  if (!slot_text.empty()) text = "-s " + slot_text;
  if (!id_text.empty()) text += (text.empty() ? "-d " : " -d ") + id_text;
  return text;
}

std::string ParseSlotSelector(std::string_view text, Selector& selector) {
  Selector read;
  read.id_text = selector.id_text;
  // The place is read from the right: the device and function after the last colon, the bus
  // before it, the domain before another colon. A dot counts only after the last colon.
  std::string_view slot = text;
  if (const size_t colon = text.rfind(':'); colon != std::string_view::npos) {
    std::string_view left = text.substr(0, colon);
    slot = text.substr(colon + 1);
    std::string_view bus = left;
    if (const size_t first = left.find(':'); first != std::string_view::npos) {
      const std::string_view domain = left.substr(0, first);
      bus = left.substr(first + 1);
      if (!ReadPart(domain, kMaxDomain, read.domain)) {
        return Invalid("-s", "domain number", domain, "0 to 7fffffff");
      }
    }
    if (!ReadPart(bus, 0xFF, read.bus)) return Invalid("-s", "bus number", bus, "0 to ff");
  }
  std::string_view device = slot;
  if (const size_t dot = slot.find('.'); dot != std::string_view::npos) {
    device = slot.substr(0, dot);
    const std::string_view function = slot.substr(dot + 1);
    if (!ReadPart(function, 7, read.function)) {
      return Invalid("-s", "function number", function, "0 to 7");
    }
  }
  if (!ReadPart(device, 0x1F, read.device)) {
    return Invalid("-s", "device number", device, "0 to 1f");
  }
  read.vendor_id = selector.vendor_id;
  read.device_id = selector.device_id;
  read.class_code = selector.class_code;
  read.slot_text = std::string(text);
  selector = read;
  return {};
}

std::string ParseIdSelector(std::string_view text, Selector& selector) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    return "-d: '" + std::string(text) + "' has no ':' ([VVVV]:[DDDD][:CCCC])";
  }
  const std::string_view vendor = text.substr(0, colon);
  std::string_view device = text.substr(colon + 1);
  std::string_view class_code;
  if (const size_t second = device.find(':'); second != std::string_view::npos) {
    class_code = device.substr(second + 1);
    device = device.substr(0, second);
  }
  Selector read = selector;
  read.vendor_id.reset();
  read.device_id.reset();
  read.class_code.reset();
  if (!ReadPart(vendor, 0xFFFF, read.vendor_id)) {
    return Invalid("-d", "vendor ID", vendor, "0 to ffff");
  }
  if (!ReadPart(device, 0xFFFF, read.device_id)) {
    return Invalid("-d", "device ID", device, "0 to ffff");
  }
  if (!ReadPart(class_code, 0xFFFF, read.class_code)) {
    return Invalid("-d", "class code", class_code, "0 to ffff");
  }
  read.id_text = std::string(text);
  selector = read;
  return {};
}

std::string ReadSelection(const ParsedOptions& options, Selector& selector) {
  if (const std::optional<std::string> slot = options.Text("-s")) {
    if (std::string error = ParseSlotSelector(*slot, selector); !error.empty()) return error;
  }
  if (const std::optional<std::string> ids = options.Text("-d")) {
    if (std::string error = ParseIdSelector(*ids, selector); !error.empty()) return error;
  }
  return {};
}

std::vector<FunctionLocation> SelectFunctions(ConfigAccess& access,
                                              const std::vector<FunctionLocation>& present,
                                              const Selector& selector) {
  const bool by_ids = selector.vendor_id || selector.device_id || selector.class_code;
  std::vector<FunctionLocation> chosen;
  for (const FunctionLocation& at : present) {
    if (!selector.MatchesPlace(at)) continue;
    if (by_ids) {
      const DomainScope in_domain(access, at.domain);
      const uint32_t reg00 = access.Read(at.bus, at.device, at.function, 0x00);
      const uint32_t reg08 = access.Read(at.bus, at.device, at.function, 0x08);
      if (!selector.MatchesIds(reg00, reg08)) continue;
    }
    chosen.push_back(at);
  }
  return chosen;
}

std::string NothingMatches(const Selector& selector) {
  return "no function matches " + selector.Description();
}

}  // namespace kelvox::cli

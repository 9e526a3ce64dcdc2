#include "config/cfgmgr/hardware_id_text.h"

#include <cctype>
#include <type_traits>

#include "text/hex_digit.h"

namespace kelvox {

namespace {

constexpr size_t kLongestQuote = 40;

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Upper(text[i]) != prefix[i]) return false;
  }
  return true;
}

// A part of a text for a message: at most kLongestQuote bytes, every byte outside printable
// ASCII shown as '?'.
std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (size_t i = 0; i < text.size() && i < kLongestQuote; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    quoted += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  if (text.size() > kLongestQuote) quoted += "...";
  return quoted + "\"";
}

// The value of exactly `digits` hexadecimal digits, or nothing.
std::optional<uint32_t> Hex(std::string_view text, size_t digits) {
  if (text.size() != digits) return std::nullopt;
  return HexNumber(text);
}

ParsedHardwareId Refused(std::string problem) { return {std::nullopt, std::move(problem)}; }

}  // namespace

ParsedHardwareId ParseHardwareIdText(std::string_view text) {
  constexpr std::string_view kPrefix = "PCI\\";
  if (!StartsWithNoCase(text, kPrefix)) return Refused(Quote(text) + " does not start with PCI\\");
  std::string_view rest = text.substr(kPrefix.size());
  if (rest.empty()) return Refused(Quote(text) + " names no part");
  HardwareIdText id;
  while (true) {
    const size_t amp = rest.find('&');
    const std::string_view part = rest.substr(0, amp);
    const size_t underscore = part.find('_');
    const std::string_view digits =
        underscore == std::string_view::npos ? std::string_view() : part.substr(underscore + 1);
    const auto key_is = [&](std::string_view key) {
      return underscore == key.size() && StartsWithNoCase(part, key);
    };
    const auto set = [&](auto& field, size_t count, std::string_view key) -> std::string {
      if (field) return Quote(text) + " names " + std::string(key) + "_ twice";
      const std::optional<uint32_t> value = Hex(digits, count);
      if (!value) {
        return Quote(text) + ": " + std::string(key) + "_ needs " + std::to_string(count) +
               " hexadecimal digits, not " + Quote(digits);
      }
      field = static_cast<std::remove_reference_t<decltype(*field)>>(*value);
      return "";
    };
    std::string problem;
    if (key_is("VEN")) {
      problem = set(id.vendor, 4, "VEN");
    } else if (key_is("DEV")) {
      problem = set(id.device, 4, "DEV");
    } else if (key_is("SUBSYS")) {
      problem = set(id.subsystem, 8, "SUBSYS");
    } else if (key_is("REV")) {
      problem = set(id.revision, 2, "REV");
    } else if (key_is("CC")) {
      if (id.class_code) return Refused(Quote(text) + " names CC_ twice");
      if (const std::optional<uint32_t> full = Hex(digits, 6)) {
        id.class_code = *full;
        id.class_has_interface = true;
      } else if (const std::optional<uint32_t> short_form = Hex(digits, 4)) {
        id.class_code = *short_form << 8;
      } else {
        problem = Quote(text) + ": CC_ needs 4 or 6 hexadecimal digits, not " + Quote(digits);
      }
    } else {
      problem = Quote(text) + ": unknown part " + Quote(part);
    }
    if (!problem.empty()) return Refused(std::move(problem));
    if (amp == std::string_view::npos) break;
    rest = rest.substr(amp + 1);
  }
  return {id, ""};
}

std::vector<std::string> SplitMultiString(std::string_view list) {
  std::vector<std::string> texts;
  while (!list.empty()) {
    const size_t end = list.find('\0');
    const std::string_view text = list.substr(0, end);
    if (text.empty()) break;
    texts.emplace_back(text);
    if (end == std::string_view::npos) break;
    list = list.substr(end + 1);
  }
  return texts;
}

}  // namespace kelvox

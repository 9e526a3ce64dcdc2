#include "config/capture/capture_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#include "config/domain_number.h"
#include "text/hex_digit.h"
#include "text/hex_dump.h"
#include "text/one_line.h"

namespace kelvox {

namespace {

constexpr int kConfigSpaceLimit = 4096;
constexpr int kBytesPerLine = 16;

// One device as read so far.
struct PendingFunction {
  FunctionLocation at;
  int line = 0;
  std::vector<uint8_t> bytes = std::vector<uint8_t>(SimulatedFunction::kMaxBytes);
  int last = -1;  // the highest offset a byte was given at
  std::map<int, uint32_t> masks;
  std::optional<FunctionFacts> facts;
  bool has_bytes = false;
};

bool AllHex(std::string_view s) {
  for (char c : s) {
    if (HexDigitValue(c) < 0) return false;
  }
  return !s.empty();
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    size_t stop = at;
    while (stop < line.size() && !IsBlank(line[stop])) ++stop;
    if (stop > at) words.push_back(line.substr(at, stop - at));
    at = stop;
  }
  return words;
}

// A piece of the file's text as a message quotes it: between single quotes, at most
// kQuotedBytes of it (cut between characters) and "…" when there is more, with every control
// character and every byte that is not UTF-8 escaped (text/one_line.h). A NUL in a malformed
// file then neither ends the message early nor, like an escape sequence, reaches the terminal,
// and a line of megabytes is not copied into the message.
std::string Quoted(std::string_view s) {
  constexpr size_t kQuotedBytes = 40;
  constexpr size_t kLongestCharacter = 4;
  std::string_view shown = s;
  if (s.size() > kQuotedBytes) {
    size_t end = kQuotedBytes;
    // Back over the continuation bytes of a character the cut would split.
    while (end > kQuotedBytes - (kLongestCharacter - 1) &&
           (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) {
      --end;
    }
    shown = s.substr(0, end);
  }
  return "'" + OneLine(TerminalText(shown)) + (shown.size() < s.size() ? "…'" : "'");
}

// A header line is "BB:DD.F" or "DOMAIN:BB:DD.F" followed by a blank or the end of the line,
// DOMAIN being a word of letters and digits (whether it is a valid domain is checked when the
// header is read, so a bad one is named rather than skipped). Returns the address part (with
// any domain) when the line is one.
std::optional<std::string_view> HeaderAddress(std::string_view line) {
  const auto matches = [](std::string_view s) {
    return s.size() >= 7 && AllHex(s.substr(0, 2)) && s[2] == ':' && AllHex(s.substr(3, 2)) &&
           s[5] == '.' && HexDigitValue(s[6]) >= 0 && (s.size() == 7 || IsBlank(s[7]));
  };
  if (matches(line)) return line.substr(0, 7);
  size_t colon = 0;
  while (colon < line.size() && std::isalnum(static_cast<unsigned char>(line[colon])) != 0) {
    ++colon;
  }
  if (colon > 0 && colon < line.size() && line[colon] == ':' && matches(line.substr(colon + 1))) {
    return line.substr(0, colon + 8);
  }
  return std::nullopt;
}

// A byte line starts with a 2- or 3-digit offset and a colon followed by a blank or the end.
bool IsByteLine(std::string_view line) {
  for (size_t digits : {2u, 3u}) {
    if (line.size() > digits && AllHex(line.substr(0, digits)) && line[digits] == ':' &&
        (line.size() == digits + 1 || IsBlank(line[digits + 1]))) {
      return true;
    }
  }
  return false;
}

bool IsMaskLine(const std::vector<std::string_view>& words) {
  return words.size() >= 2 && words[0] == "#" && words[1] == "writable";
}

bool IsFactLine(const std::vector<std::string_view>& words) {
  return words.size() >= 2 && words[0] == "#" && words[1] == "fact";
}

// What follows the fact's name on its line, without the blanks around it.
std::string_view FactValue(std::string_view line, std::string_view name) {
  std::string_view rest = line.substr(name.data() + name.size() - line.data());
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
  return rest;
}

class Parser {
 public:
  SimulatedBus Parse(std::string_view text) {
    size_t at = 0;
    while (at < text.size()) {
      size_t stop = text.find('\n', at);
      if (stop == std::string_view::npos) stop = text.size();
      std::string_view line = text.substr(at, stop - at);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      at = stop + 1;
      ++line_;
      ParseLine(line);
    }
    for (const PendingFunction& f : functions_) {
      if (!f.has_bytes) Fail(f.line, "device " + AddressText(f.at) + " has no configuration bytes");
    }
    SimulatedBus bus;
    for (const PendingFunction& f : functions_) {
      SimulatedFunction& added = bus.AddFunction(f.at);
      // As much space as the dump shows: lspci -x, -xxx or -xxxx.
      added.Resize(SpaceSizeHolding(f.last));
      for (int i = 0; i < added.readable; ++i) {
        if (i < SimulatedFunction::kBytes) {
          added.bytes[i] = f.bytes[i];
        } else {
          added.extended[i - SimulatedFunction::kBytes] = f.bytes[i];
        }
      }
      for (const auto& [reg, mask] : f.masks) added.writable[reg / 4] = mask;
      if (f.facts) bus.SetFacts(f.at, *f.facts);
    }
    return bus;
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& message) const {
    throw SimulatedBusFileError(line, message);
  }
  [[noreturn]] void Fail(const std::string& message) const { Fail(line_, message); }

  PendingFunction& Current(const char* what) {
    if (functions_.empty()) Fail(std::string(what) + " before any device header");
    if (!open_) {
      const PendingFunction& last = functions_.back();
      Fail(std::string(what) + " outside a device: the blank line " + std::to_string(ended_on_) +
           " ended device " + AddressText(last.at) + " (line " + std::to_string(last.line) + ")");
    }
    return functions_.back();
  }

  void ParseLine(std::string_view line) {
    // An empty line ends the device, as in lspci's own reader of these dumps.
    if (line.empty()) {
      if (open_) ended_on_ = line_;
      open_ = false;
      return;
    }
    // Byte lines are nearly all of a dump, and no other kind of line looks like one: they are
    // read without splitting them into words first.
    if (IsByteLine(line)) {
      ParseBytes(line);
      return;
    }
    const std::vector<std::string_view> words = Words(line);
    if (IsMaskLine(words)) {
      ParseMask(words);
    } else if (IsFactLine(words)) {
      ParseFact(line, words);
    } else if (const auto address = HeaderAddress(line)) {
      ParseHeader(*address);
    }
  }

  // The domain of a header's "DOMAIN:" part: 4 to 8 hex digits (lspci writes at least 4),
  // at most kMaxDomain.
  int ParseDomain(std::string_view text) const {
    if (!AllHex(text)) Fail("domain " + Quoted(text) + " is not a hex number");
    if (text.size() < 4 || text.size() > 8) {
      Fail("domain " + Quoted(text) + " must have 4 to 8 hex digits");
    }
    const DomainNumber domain = ParseDomainNumber(text);
    if (!domain.value) Fail(domain.error);
    return *domain.value;
  }

  void ParseHeader(std::string_view address) {
    PendingFunction f;
    if (address.size() > 7) {
      f.at.domain = ParseDomain(address.substr(0, address.size() - 8));
      address.remove_prefix(address.size() - 7);
    }
    f.line = line_;
    f.at.bus = static_cast<int>(*HexNumber(address.substr(0, 2)));
    f.at.device = static_cast<int>(*HexNumber(address.substr(3, 2)));
    f.at.function = HexDigitValue(address[6]);
    if (f.at.device > 31) Fail("device number " + Quoted(address.substr(3, 2)) + " is over 31");
    if (f.at.function > 7) Fail("function number " + Quoted(address.substr(6, 1)) + " is over 7");
    const auto [earlier, added] = lines_of_.emplace(f.at, line_);
    if (!added) {
      Fail("device " + AddressText(f.at) + " already given on line " +
           std::to_string(earlier->second));
    }
    functions_.push_back(f);
    open_ = true;
  }

  // The line as lspci and `capture` write nearly every one: sixteen bytes, one blank before
  // each. True when it was that, and its bytes are taken.
  static bool ParseWholeLine(PendingFunction& f, int offset, std::string_view bytes) {
    if (bytes.size() != 3 * kBytesPerLine || offset + kBytesPerLine > kConfigSpaceLimit) {
      return false;
    }
    std::array<uint8_t, kBytesPerLine> values;
    for (size_t i = 0; i < values.size(); ++i) {
      const int high = HexDigitValue(bytes[3 * i + 1]), low = HexDigitValue(bytes[3 * i + 2]);
      if (bytes[3 * i] != ' ' || high < 0 || low < 0) return false;
      values[i] = static_cast<uint8_t>(high << 4 | low);
    }
    std::copy(values.begin(), values.end(), f.bytes.begin() + offset);
    f.last = std::max(f.last, offset + kBytesPerLine - 1);
    f.has_bytes = true;
    return true;
  }

  // "OFF: xx xx ...": at most kBytesPerLine bytes from the offset (IsByteLine holds). The
  // words are found in place, without a vector per line.
  void ParseBytes(std::string_view line) {
    PendingFunction& f = Current("configuration bytes");
    const size_t colon = line.find(':');
    const int offset = static_cast<int>(*HexNumber(line.substr(0, colon)));
    if (ParseWholeLine(f, offset, line.substr(colon + 1))) return;
    std::array<std::string_view, kBytesPerLine> words;  // only the first `count` are read
    int count = 0;
    for (size_t at = colon + 1; at < line.size();) {
      while (at < line.size() && IsBlank(line[at])) ++at;
      size_t stop = at;
      while (stop < line.size() && !IsBlank(line[stop])) ++stop;
      if (stop > at) {
        if (count < kBytesPerLine) words[static_cast<size_t>(count)] = line.substr(at, stop - at);
        ++count;
      }
      at = stop;
    }
    if (count > kBytesPerLine) {
      Fail(std::to_string(count) + " bytes on one line, at most " + std::to_string(kBytesPerLine));
    }
    if (offset + count > kConfigSpaceLimit) {
      Fail("bytes past the end of the 4096-byte configuration space");
    }
    for (int i = 0; i < count; ++i) {
      const std::string_view byte = words[static_cast<size_t>(i)];
      const int high = byte.size() == 2 ? HexDigitValue(byte[0]) : -1;
      const int low = byte.size() == 2 ? HexDigitValue(byte[1]) : -1;
      if (high < 0 || low < 0) Fail("malformed byte " + Quoted(byte));
      f.bytes[offset + i] = static_cast<uint8_t>(high << 4 | low);
    }
    if (count > 0) {
      f.last = std::max(f.last, offset + count - 1);
      f.has_bytes = true;
    }
  }

  // "# fact NAME VALUE": a fact of the device (function_facts.h); names this program does not
  // know are skipped, so a capture from a later version still loads.
  void ParseFact(std::string_view line, const std::vector<std::string_view>& words) {
    PendingFunction& f = Current("fact");
    if (words.size() < 3) Fail("a fact line is '# fact NAME VALUE'");
    const std::string name(words[2]);
    const std::string value(FactValue(line, words[2]));
    if (!IsFactName(name)) return;
    FunctionFacts facts = f.facts.value_or(FunctionFacts{});
    if (!SetNamedFact(facts, name, value)) {
      Fail("bad value " + Quoted(value) + " for fact " + name);
    }
    f.facts = facts;
  }

  void ParseMask(const std::vector<std::string_view>& words) {
    PendingFunction& f = Current("writable mask");
    if (words.size() != 4) Fail("a writable mask line is '# writable RR XXXXXXXX'");
    const std::optional<uint32_t> reg = words[2].size() <= 2 ? HexNumber(words[2]) : std::nullopt;
    if (!reg || *reg % 4 != 0) {
      Fail("bad register offset " + Quoted(words[2]) + " in writable mask line");
    }
    const std::optional<uint32_t> mask = HexNumber(words[3]);
    if (!mask) Fail("bad hex mask " + Quoted(words[3]) + " in writable mask line");
    f.masks[static_cast<int>(*reg)] = *mask;
  }

  int line_ = 0;
  std::vector<PendingFunction> functions_;
  // The line of each device's header, to find a repeated address at once.
  std::map<FunctionLocation, int> lines_of_;
  // Whether byte and mask lines belong to the last device (no blank line since its header),
  // and the blank line that ended it when not.
  bool open_ = false;
  int ended_on_ = 0;
};

}  // namespace

SimulatedBusFileError::SimulatedBusFileError(int line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}

SimulatedBus ParseSimulatedBus(std::string_view text) { return Parser().Parse(text); }

std::string FormatSimulatedBus(const SimulatedBus& bus) {
  std::string out;
  char text[64];
  const std::vector<FunctionLocation> locations = bus.Locations();
  const bool with_domains = NeedsDomains(locations);
  for (const FunctionLocation& at : locations) {
    const SimulatedFunction& f = *bus.Find(at);
    const uint32_t id = f.Dword(0x00);
    const uint32_t class_revision = f.Dword(0x08);
    const std::string address = with_domains ? DomainLocationText(at) : LocationText(at);
    std::snprintf(text, sizeof text, "%s %04x: %04x:%04x", address.c_str(), class_revision >> 16,
                  id & 0xFFFF, id >> 16);
    out += text;
    if ((class_revision & 0xFF) != 0) {
      std::snprintf(text, sizeof text, " (rev %02x)", class_revision & 0xFF);
      out += text;
    }
    out += '\n';
    // Every byte the function's space holds, as lspci -x, -xxx and -xxxx write them (three
    // digits of offset from 0x100).
    std::vector<uint8_t> bytes(static_cast<size_t>(f.readable));
    for (int i = 0; i < f.readable; ++i) bytes[static_cast<size_t>(i)] = f.Byte(i);
    out += HexDump(bytes);
    for (int reg = 0; reg < SimulatedFunction::kBytes; reg += 4) {
      if (f.writable[reg / 4] == 0) continue;
      std::snprintf(text, sizeof text, "# writable %02x %08x\n", reg, f.writable[reg / 4]);
      out += text;
    }
    if (const FunctionFacts* facts = bus.FindFacts(at)) {
      for (const NamedFact& fact : NamedFacts(*facts)) {
        out += "# fact " + fact.name;
        if (!fact.value.empty()) out += " " + fact.value;
        out += '\n';
      }
    }
    out += '\n';
  }
  return out;
}

}  // namespace kelvox

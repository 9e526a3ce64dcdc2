// The pci.ids reader on any text, read both ways it can be given: as an owned string and in
// place (an exact-size copy, so a read past the end is caught). Both must give the same answer.
// A refused text must give one line "NAME:LINE: ..." naming a line that holds an entry (or say
// that the text has no vendor or class lines). An accepted text is walked line by line here,
// independently of the reader: every ID in it must be found with the name of its first line,
// IDs drawn from the input's hash must be found exactly when the text holds them, and misses
// must leave the outputs untouched. Every name must be a view into the list's text.
// The same text is also written to a file, plain and gzip-compressed, and loaded as --ids FILE
// loads it (ids_files.h): both files must give what the text gives, under their own names.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "fuzz/ids_files.h"
#include "iddb/lookup.h"
#include "iddb/name_source.h"
#include "iddb/pci_id_list.h"
#include "iddb/pci_ids_reader.h"

namespace {

constexpr std::string_view kName = "fuzz.ids";

[[noreturn]] void Fails(const std::string& what) {
  std::fprintf(stderr, "ids: %s\n", what.c_str());
  std::abort();
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%04x", value);
  return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The lines of `text` split at '\n', each without its trailing blanks and carriage returns.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    while (!line.empty() && (IsBlank(line.back()) || line.back() == '\r')) line.remove_suffix(1);
    lines.push_back(line);
    pos = end + 1;
  }
  return lines;
}

// A line of an accepted list taken apart: `digits` hexadecimal digits, then a blank or the end.
struct Cursor {
  std::string_view rest;
  std::size_t line;

  std::uint32_t Id(int digits) {
    if (rest.size() < static_cast<std::size_t>(digits)) Refused("a short ID");
    std::uint32_t value = 0;
    for (int i = 0; i < digits; ++i) {
      const int digit = DigitValue(rest[i]);
      if (digit < 0) Refused("an ID that is not hexadecimal");
      value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    rest.remove_prefix(digits);
    if (!rest.empty() && !IsBlank(rest.front())) Refused("an ID of too many digits");
    return value;
  }
  void SkipBlanks() {
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  }
  std::string_view Name() {
    SkipBlanks();
    if (rest.empty()) Refused("an ID without a name");
    return rest;
  }
  [[noreturn]] void Refused(const char* what) const {
    Fails("the reader accepted line " + std::to_string(line) + " with " + what);
  }
};

// What an accepted list must answer: the name of the first line of every key.
struct Expected {
  std::map<std::uint32_t, std::string_view> vendors;
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::string_view> devices;
  std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>, std::string_view>
      subsystems;
  std::map<std::uint32_t, std::string_view> bases;
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::string_view> subs;
  std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>, std::string_view> prog_ifs;
};

// Walks an accepted text as pci.ids(5) describes it.
Expected Walk(std::string_view text) {
  Expected expected;
  enum class Block { kNone, kVendor, kClass, kSkipped } block = Block::kNone;
  std::uint32_t top = 0, middle = 0;
  bool have_middle = false;
  const std::vector<std::string_view> lines = Lines(text);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    int tabs = 0;
    while (!line.empty() && line.front() == '\t') {
      line.remove_prefix(1);
      ++tabs;
    }
    if (line.empty() || line.front() == '#') continue;
    Cursor at{line, n + 1};
    if (tabs == 0) {
      const char c = line.front();
      const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      have_middle = false;
      if (letter && (line.size() == 1 || IsBlank(line[1]))) {
        if (c != 'C') {
          block = Block::kSkipped;
          continue;
        }
        at.rest.remove_prefix(1);
        at.SkipBlanks();
        top = at.Id(2);
        expected.bases.try_emplace(top, at.Name());
        block = Block::kClass;
        continue;
      }
      top = at.Id(4);
      expected.vendors.try_emplace(top, at.Name());
      block = Block::kVendor;
      continue;
    }
    if (block == Block::kSkipped) continue;
    if (block == Block::kNone) at.Refused("an indented line outside any block");
    if (tabs > 2) at.Refused("more than two tabs");
    if (tabs == 1) {
      middle = at.Id(block == Block::kVendor ? 4 : 2);
      have_middle = true;
      const std::string_view name = at.Name();
      if (block == Block::kVendor) {
        expected.devices.try_emplace({top, middle}, name);
      } else {
        expected.subs.try_emplace({top, middle}, name);
      }
      continue;
    }
    if (!have_middle) at.Refused("a third-level line before any second-level line");
    if (block == Block::kVendor) {
      const std::uint32_t subvendor = at.Id(4);
      at.SkipBlanks();
      const std::uint32_t subdevice = at.Id(4);
      expected.subsystems.try_emplace({top, middle, subvendor, subdevice}, at.Name());
    } else {
      const std::uint32_t prog_if = at.Id(2);
      expected.prog_ifs.try_emplace({top, middle, prog_if}, at.Name());
    }
  }
  return expected;
}

// Checks one list's answers against the walk of its text.
class Checker {
 public:
  Checker(const kelvox::PciIdList& list, const Expected& expected)
      : list_(list), expected_(expected) {}

  void InText(std::string_view name, const std::string& what) const {
    const std::string_view text = list_.text();
    if (name.empty()) return;
    if (name.data() < text.data() || name.data() + name.size() > text.data() + text.size()) {
      Fails(what + ": a name outside the list's text");
    }
  }

  // `name` "A [B]" gives `first` A and `second` B; any other name gives `whole_first` the whole
  // name (vendors: the full name) or `second` the whole name (devices: the description).
  void SameName(std::string_view name, std::string_view first, std::string_view second,
                bool whole_first, const std::string& what) const {
    InText(first, what);
    InText(second, what);
    if (whole_first ? (first == name && second.empty()) : (first.empty() && second == name)) {
      return;
    }
    // The bracketed form: A, at least one blank, then "[B]" to the name's end.
    if (!first.empty() && name.size() >= first.size() + second.size() + 3 &&
        name.starts_with(first) && name.ends_with("]")) {
      const std::size_t bracket = name.size() - second.size() - 2;
      if (name[bracket] != '[' || name.substr(bracket + 1, second.size()) != second) {
        Fails(what + ": name '" + std::string(name) + "' looked up as '" + std::string(first) +
              "' and '" + std::string(second) + "'");
      }
      bool blanks = bracket > first.size();
      for (std::size_t i = first.size(); i < bracket; ++i) blanks = blanks && IsBlank(name[i]);
      if (blanks) return;
    }
    Fails(what + ": name '" + std::string(name) + "' looked up as '" + std::string(first) +
          "' and '" + std::string(second) + "'");
  }

  // `high` is or-ed into every key: the lookups mask keys to their register widths.
  void Vendor(std::uint32_t id, std::uint32_t high) const {
    std::string_view short_name = kUntouched, full_name = kUntouched;
    const bool found = list_.FindVendor(id | high << 16, short_name, full_name);
    const auto it = expected_.vendors.find(id);
    const std::string what = "vendor " + Hex(id);
    if (found != (it != expected_.vendors.end())) Fails(what + (found ? " found" : " missed"));
    if (!found) return Untouched({short_name, full_name}, what);
    SameName(it->second, full_name, short_name, true, what);
  }

  void Device(std::uint32_t vendor, std::uint32_t device, std::uint32_t high) const {
    std::string_view chip = kUntouched, description = kUntouched;
    const bool found =
        list_.FindDevice(vendor | high << 16, device | high << 16, chip, description);
    const auto it = expected_.devices.find({vendor, device});
    const std::string what = "device " + Hex(vendor) + ":" + Hex(device);
    if (found != (it != expected_.devices.end())) Fails(what + (found ? " found" : " missed"));
    if (!found) return Untouched({chip, description}, what);
    SameName(it->second, chip, description, false, what);
  }

  void Subsystem(std::uint32_t vendor, std::uint32_t device, std::uint32_t subvendor,
                 std::uint32_t subdevice, std::uint32_t high) const {
    std::string_view name = kUntouched;
    const bool found = list_.FindSubsystem(vendor | high << 16, device | high << 16,
                                           subvendor | high << 16, subdevice | high << 16, name);
    const auto it = expected_.subsystems.find({vendor, device, subvendor, subdevice});
    const std::string what = "subsystem " + Hex(vendor) + ":" + Hex(device) + " " + Hex(subvendor) +
                             ":" + Hex(subdevice);
    if (found != (it != expected_.subsystems.end())) Fails(what + (found ? " found" : " missed"));
    if (!found) return Untouched({name}, what);
    InText(name, what);
    if (name != it->second) Fails(what + ": name '" + std::string(name) + "'");
  }

  void Class(std::uint32_t base, std::uint32_t sub, std::uint32_t prog_if,
             std::uint32_t high) const {
    std::string_view names[3] = {kUntouched, kUntouched, kUntouched};
    list_.FindClass(base | high << 8, sub | high << 8, prog_if | high << 8, names[0], names[1],
                    names[2]);
    const std::string what = "class " + Hex(base) + " " + Hex(sub) + " " + Hex(prog_if);
    const auto b = expected_.bases.find(base);
    const auto s = expected_.subs.find({base, sub});
    const auto p = expected_.prog_ifs.find({base, sub, prog_if});
    const std::string_view want[3] = {
        b == expected_.bases.end() ? "" : b->second,
        s == expected_.subs.end() ? "" : s->second,
        p == expected_.prog_ifs.end() ? "" : p->second,
    };
    for (int i = 0; i < 3; ++i) {
      InText(names[i], what);
      if (names[i] != want[i]) {
        Fails(what + ": level " + std::to_string(i) + " named '" + std::string(names[i]) +
              "', not '" + std::string(want[i]) + "'");
      }
    }
  }

 private:
  static constexpr std::string_view kUntouched = "untouched";

  static void Untouched(std::initializer_list<std::string_view> outputs, const std::string& what) {
    for (const std::string_view output : outputs) {
      if (output.data() != kUntouched.data()) Fails(what + ": a miss changed an output");
    }
  }

  const kelvox::PciIdList& list_;
  const Expected& expected_;
};

// Keys drawn from a generator seeded by the input, mostly ones the text does not hold.
struct Keys {
  std::uint64_t state;
  std::uint32_t Next() {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<std::uint32_t>(state >> 33);
  }
};

std::uint64_t Hash(std::string_view text) {
  std::uint64_t hash = 14695981039346656037u;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
  return hash;
}

void CheckAccepted(const kelvox::PciIdList& list, std::string_view text) {
  if (list.text() != text) Fails("the list's text is not the text read");
  if (list.version.find('\n') != std::string::npos) Fails("the version spans two lines");
  if (!list.version.empty() && text.find(list.version) == std::string_view::npos) {
    Fails("the version '" + list.version + "' is not in the text");
  }
  const Expected expected = Walk(text);
  if (expected.vendors.empty() && expected.bases.empty()) Fails("a list without entries");
  const Checker check(list, expected);
  Keys keys{Hash(text)};
  const std::uint32_t high = keys.Next();
  for (const auto& [id, name] : expected.vendors) check.Vendor(id, high & 1 ? high : 0);
  for (const auto& [key, name] : expected.devices) {
    check.Device(key.first, key.second, 0);
    check.Device(key.first, keys.Next() & 0xFFFF, 0);
  }
  for (const auto& [key, name] : expected.subsystems) {
    const auto [vendor, device, subvendor, subdevice] = key;
    check.Subsystem(vendor, device, subvendor, subdevice, high);
    check.Subsystem(vendor, device, subvendor, keys.Next() & 0xFFFF, 0);
  }
  for (const auto& [key, name] : expected.prog_ifs) {
    const auto [base, sub, prog_if] = key;
    check.Class(base, sub, prog_if, high);
  }
  for (const auto& [key, name] : expected.subs) {
    check.Class(key.first, key.second, keys.Next() & 0xFF, 0);
  }
  for (const auto& [base, name] : expected.bases) check.Class(base, keys.Next() & 0xFF, 0, 0);
  for (int i = 0; i < 8; ++i) {
    const std::uint32_t a = keys.Next() & 0xFFFF, b = keys.Next() & 0xFFFF;
    check.Vendor(a, 0);
    check.Device(a, b, high);
    check.Subsystem(a, b, keys.Next() & 0xFFFF, keys.Next() & 0xFFFF, 0);
    check.Class(a & 0xFF, b & 0xFF, keys.Next() & 0xFF, 0);
  }
  check.Vendor(0xFFFF, 0xFFFF);

  // The program's lookups answer from the list once it is in use, and from the embedded tables
  // again afterwards.
  std::shared_ptr<const kelvox::PciIdList> keep(&list, [](const kelvox::PciIdList*) {});
  kelvox::UseIdList(keep);
  if (kelvox::ActiveIdList() != &list) Fails("the list in use is not the list read");
  for (const auto& [id, name] : expected.vendors) {
    std::string_view a, b, c, d;
    if (!kelvox::FindVendorName(id, a, b) || !list.FindVendor(id, c, d) || a != c || b != d) {
      Fails("FindVendorName does not answer from the list in use");
    }
    break;
  }
  kelvox::UseEmbeddedIdList();
  if (kelvox::ActiveIdList() != nullptr) Fails("the embedded tables are not in use again");
}

// "NAME:LINE: what" naming a line with an entry on it, or the message for a text without any.
void CheckRefused(const std::string& error, std::string_view text) {
  // The message quotes a short excerpt of the bad line with its control characters escaped,
  // so it holds none (a line break would split it) and stays short whatever the line's length.
  for (char c : error) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) Fails("a raw control byte: " + error);
  }
  if (error.size() > 512) Fails("the message quotes too much: " + error.substr(0, 512));
  const std::string prefix = std::string(kName) + ":";
  if (!error.starts_with(prefix)) Fails("the message does not name the file: " + error);
  if (error == prefix + " no vendor or class lines; not a PCI ID list") {
    const Expected expected = Walk(text);
    if (!expected.vendors.empty() || !expected.bases.empty()) {
      Fails("a list with entries said to have none");
    }
    return;
  }
  std::size_t digits = prefix.size();
  std::size_t line = 0;
  while (digits < error.size() && error[digits] >= '0' && error[digits] <= '9' && line < 1u << 30) {
    line = line * 10 + static_cast<std::size_t>(error[digits] - '0');
    ++digits;
  }
  if (digits == prefix.size() || error.compare(digits, 2, ": ") != 0 ||
      digits + 2 == error.size()) {
    Fails("the message is not NAME:LINE: what: " + error);
  }
  const std::vector<std::string_view> lines = Lines(text);
  if (line < 1 || line > lines.size()) Fails("the message names a line the text lacks: " + error);
  std::string_view named = lines[line - 1];
  while (!named.empty() && named.front() == '\t') named.remove_prefix(1);
  if (named.empty() || named.front() == '#') {
    Fails("the message names a blank or comment line: " + error);
  }
}

// A list loaded from the file at `path` must be what reading the text gave: the same message
// with the file's name in front instead, or a list of the same text.
void SameAsText(const kelvox::PciIdsRead& loaded, const std::string& path,
                const kelvox::PciIdsRead& read) {
  const std::string expected = read.list ? "" : path + read.error.substr(kName.size());
  if ((loaded.list == nullptr) != (read.list == nullptr) || loaded.error != expected) {
    Fails("the file " + path + " gives '" + loaded.error + "', not '" + expected + "'");
  }
  if (loaded.list && loaded.list->text() != read.list->text()) {
    Fails("the file " + path + " gives a list of another text");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // In place, from an exact-size copy the list keeps alive.
  std::shared_ptr<char[]> copy(new char[size == 0 ? 1 : size]);
  if (size > 0) std::memcpy(copy.get(), data, size);
  const std::string_view placed(copy.get(), size);
  const kelvox::PciIdsRead in_place = kelvox::ReadPciIds(placed, copy, kName);
  const kelvox::PciIdsRead owned = kelvox::ReadPciIds(std::string(text), kName);

  if ((in_place.list == nullptr) == in_place.error.empty()) {
    Fails("a read gives both or neither of a list and a message: " + in_place.error);
  }
  if (owned.error != in_place.error) {
    Fails("the two ways of reading disagree: '" + owned.error + "' and '" + in_place.error + "'");
  }
  const kelvox::fuzz::LoadedFiles files =
      kelvox::fuzz::LoadThroughFiles(text, static_cast<int>(Hash(text) % 10));
  SameAsText(files.packed, files.packed_path, in_place);
  if (text.starts_with("\x1F\x8B")) {
    // The plain file looks compressed and is inflated: whatever it gives, it gives one thing.
    if ((files.plain.list == nullptr) == files.plain.error.empty() ||
        files.plain.error.find('\n') != std::string::npos) {
      Fails("a file that looks compressed gives '" + files.plain.error + "'");
    }
  } else {
    SameAsText(files.plain, files.plain_path, in_place);
  }
  if (in_place.list == nullptr) {
    CheckRefused(in_place.error, placed);
    return 0;
  }
  if (owned.list->version != in_place.list->version ||
      owned.list->vendors.size() != in_place.list->vendors.size() ||
      owned.list->devices.size() != in_place.list->devices.size() ||
      owned.list->subsystems.size() != in_place.list->subsystems.size() ||
      owned.list->base_classes.size() != in_place.list->base_classes.size() ||
      owned.list->sub_classes.size() != in_place.list->sub_classes.size() ||
      owned.list->prog_ifs.size() != in_place.list->prog_ifs.size()) {
    Fails("the two ways of reading give different lists");
  }
  copy.reset();  // the list alone keeps the text now
  CheckAccepted(*in_place.list, placed);
  CheckAccepted(*owned.list, text);
  CheckAccepted(*files.packed.list, text);
  if (files.plain.list && !text.starts_with("\x1F\x8B")) CheckAccepted(*files.plain.list, text);
  return 0;
}

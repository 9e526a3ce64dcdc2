#include "iddb/pci_ids_reader.h"

#include <cstring>
#include <optional>

#include "text/hex_digit.h"
#include "text/one_line.h"

namespace kelvox {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The most bytes of a line a message quotes.
constexpr size_t kMaxQuoted = 40;

// `field` as a message quotes it: its first kMaxQuoted bytes (never half a UTF-8 character)
// and "…" when there is more, control bytes escaped, so a malformed line of any length gives a
// short one-line message.
std::string Excerpt(std::string_view field) {
  if (field.size() <= kMaxQuoted) return OneLine(field);
  size_t cut = kMaxQuoted;
  while (cut > 0 && (static_cast<unsigned char>(field[cut]) & 0xC0) == 0x80) --cut;
  return OneLine(field.substr(0, cut)) + "…";
}

// The header lines that date a list, each kept until a better one is found.
struct VersionLines {
  std::string version, date, snapshot, rcs_id;

  void Take(std::string_view comment) {
    while (!comment.empty() && IsBlank(comment.front())) comment.remove_prefix(1);
    const auto after = [&](std::string_view prefix, std::string& out) {
      if (!out.empty() || !comment.starts_with(prefix)) return;
      std::string_view rest = comment.substr(prefix.size());
      while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
      if (rest.ends_with("$")) rest.remove_suffix(1);
      while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
      out = rest;
    };
    after("Version:", version);
    after("Date:", date);
    after("Daily snapshot on", snapshot);
    after("$Id: pci.ids,v", rcs_id);
  }

  std::string Best() const {
    for (const std::string* line : {&version, &date, &snapshot, &rcs_id}) {
      if (!line->empty()) return *line;
    }
    return {};
  }
};

// The reader's walk over the lines; it only reads the text.
class Reader {
 public:
  Reader(PciIdList& list, std::string_view name) : list_(list), name_(name), t_(list.text()) {}

  std::string Run() {
    const size_t size = t_.size();
    // Every entry is one line, so the line count bounds each table: reserving that much up
    // front spares the copies of growing (only the pages written are ever touched).
    size_t lines = 1;
    for (const char* p = t_.data();
         (p = static_cast<const char*>(std::memchr(p, '\n', size - (p - t_.data())))) != nullptr;
         ++p) {
      ++lines;
    }
    list_.vendors.reserve(lines);
    list_.devices.reserve(lines);
    list_.subsystems.reserve(lines);
    size_t pos = 0;
    while (pos < size) {
      ++line_;
      const char* newline =
          static_cast<const char*>(std::memchr(t_.data() + pos, '\n', size - pos));
      const size_t end = newline ? static_cast<size_t>(newline - t_.data()) : size;
      size_t e = end;
      while (e > pos && (IsBlank(t_[e - 1]) || t_[e - 1] == '\r')) --e;
      if (e > pos && !Line(pos, e)) return error_;
      pos = newline ? end + 1 : size;
    }
    if (list_.vendors.empty() && list_.base_classes.empty()) {
      return std::string(name_) + ": no vendor or class lines; not a PCI ID list";
    }
    list_.version = version_.Best();
    return {};
  }

 private:
  enum class Block { kNone, kVendor, kClass, kSkipped };

  bool Fail(std::string what) {
    error_ = std::string(name_) + ":" + std::to_string(line_) + ": " + std::move(what);
    return false;
  }

  // The `digits` hexadecimal digits at `p`, followed by a blank or the line's end.
  std::optional<std::uint16_t> Id(size_t p, size_t e, int digits) const {
    if (e - p < static_cast<size_t>(digits)) return std::nullopt;
    const std::optional<uint32_t> value = HexNumber(t_.substr(p, static_cast<size_t>(digits)));
    if (!value) return std::nullopt;
    if (p + digits < e && !IsBlank(t_[p + digits])) return std::nullopt;
    return static_cast<std::uint16_t>(*value);
  }

  bool BadId(size_t p, size_t e, std::string_view what, int digits) {
    size_t stop = p;
    while (stop < e && !IsBlank(t_[stop])) ++stop;
    return Fail(std::string(what) + " '" + Excerpt(t_.substr(p, stop - p)) + "' is not " +
                std::to_string(digits) + " hexadecimal digits");
  }

  // The name after an ID that ends at `p`: blanks skipped, up to `e`.
  std::optional<PciIdName> Name(size_t p, size_t e) const {
    while (p < e && IsBlank(t_[p])) ++p;
    if (p == e) return std::nullopt;
    return PciIdName{static_cast<std::uint32_t>(p), static_cast<std::uint32_t>(e - p)};
  }

  bool Line(size_t p, size_t e) {
    int tabs = 0;
    while (p < e && t_[p] == '\t') {
      ++p;
      ++tabs;
    }
    if (t_[p] == '#') {
      if (!seen_entry_) version_.Take(std::string_view(t_).substr(p + 1, e - p - 1));
      return true;
    }
    seen_entry_ = true;
    if (tabs == 0) return TopLine(p, e);
    if (block_ == Block::kSkipped) return true;
    if (tabs > 2) return Fail("more than two tabs before an entry");
    if (block_ == Block::kNone) {
      return Fail(tabs == 1 ? "device line before any vendor line"
                            : "tab-indented line outside any vendor or class block");
    }
    if (block_ == Block::kVendor) return tabs == 1 ? DeviceLine(p, e) : SubsystemLine(p, e);
    return tabs == 1 ? SubClassLine(p, e) : ProgIfLine(p, e);
  }

  bool TopLine(size_t p, size_t e) {
    // A block of another kind starts with a letter and a blank ("C 03  ..."); no vendor ID does.
    const bool letter = (t_[p] >= 'A' && t_[p] <= 'Z') || (t_[p] >= 'a' && t_[p] <= 'z');
    if (letter && (p + 1 == e || IsBlank(t_[p + 1]))) {
      if (t_[p] != 'C') {
        block_ = Block::kSkipped;
        return true;
      }
      size_t q = p + 1;
      while (q < e && IsBlank(t_[q])) ++q;
      const auto id = Id(q, e, 2);
      if (!id) return BadId(q, e, "class", 2);
      const auto name = Name(q + 2, e);
      if (!name) return Fail("class " + std::string(t_.substr(q, 2)) + " has no name");
      const auto at = static_cast<std::uint32_t>(list_.sub_classes.size());
      list_.base_classes.push_back({static_cast<std::uint8_t>(*id), *name, at, at});
      block_ = Block::kClass;
      have_child_ = false;
      return true;
    }
    const auto id = Id(p, e, 4);
    if (!id) return BadId(p, e, "vendor ID", 4);
    const auto name = Name(p + 4, e);
    if (!name) return Fail("vendor " + std::string(t_.substr(p, 4)) + " has no name");
    PciIdVendor vendor;
    vendor.id = *id;
    vendor.name = *name;
    vendor.first_device = vendor.end_device = static_cast<std::uint32_t>(list_.devices.size());
    list_.vendors.push_back(vendor);
    block_ = Block::kVendor;
    have_child_ = false;
    return true;
  }

  bool DeviceLine(size_t p, size_t e) {
    const auto id = Id(p, e, 4);
    if (!id) return BadId(p, e, "device ID", 4);
    const auto name = Name(p + 4, e);
    if (!name) return Fail("device " + std::string(t_.substr(p, 4)) + " has no name");
    PciIdDevice device;
    device.id = *id;
    device.name = *name;
    device.first_subsystem = device.end_subsystem =
        static_cast<std::uint32_t>(list_.subsystems.size());
    list_.devices.push_back(device);
    ++list_.vendors.back().end_device;
    have_child_ = true;
    return true;
  }

  bool SubsystemLine(size_t p, size_t e) {
    if (!have_child_) return Fail("subsystem line before any device line");
    const auto subvendor = Id(p, e, 4);
    if (!subvendor) return BadId(p, e, "subsystem vendor ID", 4);
    size_t q = p + 4;
    while (q < e && IsBlank(t_[q])) ++q;
    const auto subdevice = Id(q, e, 4);
    if (!subdevice) return BadId(q, e, "subsystem ID", 4);
    const auto name = Name(q + 4, e);
    if (!name) return Fail("subsystem " + Excerpt(t_.substr(p, q + 4 - p)) + " has no name");
    list_.subsystems.push_back({*subvendor, *subdevice, *name});
    ++list_.devices.back().end_subsystem;
    return true;
  }

  bool SubClassLine(size_t p, size_t e) {
    const auto id = Id(p, e, 2);
    if (!id) return BadId(p, e, "sub-class", 2);
    const auto name = Name(p + 2, e);
    if (!name) return Fail("sub-class " + std::string(t_.substr(p, 2)) + " has no name");
    const auto at = static_cast<std::uint32_t>(list_.prog_ifs.size());
    list_.sub_classes.push_back({static_cast<std::uint8_t>(*id), *name, at, at});
    ++list_.base_classes.back().end_child;
    have_child_ = true;
    return true;
  }

  bool ProgIfLine(size_t p, size_t e) {
    if (!have_child_) return Fail("programming interface line before any sub-class line");
    const auto id = Id(p, e, 2);
    if (!id) return BadId(p, e, "programming interface", 2);
    const auto name = Name(p + 2, e);
    if (!name) {
      return Fail("programming interface " + std::string(t_.substr(p, 2)) + " has no name");
    }
    list_.prog_ifs.push_back({static_cast<std::uint8_t>(*id), *name, 0, 0});
    ++list_.sub_classes.back().end_child;
    return true;
  }

  PciIdList& list_;
  std::string_view name_;
  std::string_view t_;
  size_t line_ = 0;
  Block block_ = Block::kNone;
  bool have_child_ = false;  // the current block has a device (or sub-class) line
  bool seen_entry_ = false;  // a line other than a comment has been read
  VersionLines version_;
  std::string error_;
};

}  // namespace

namespace {

PciIdsRead ReadText(std::shared_ptr<PciIdList> list, std::string_view name) {
  // Positions in the text are 32-bit; no list comes near 4 GiB.
  if (list->text().size() > 0xFFFFFFF0u) {
    return {nullptr, std::string(name) + ": too large to be a PCI ID list"};
  }
  std::string error = Reader(*list, name).Run();
  if (!error.empty()) return {nullptr, std::move(error)};
  list->source = std::string(name);
  list->Index();
  return {std::move(list), {}};
}

}  // namespace

PciIdsRead ReadPciIds(std::string text, std::string_view name) {
  auto list = std::make_shared<PciIdList>();
  list->SetText(std::move(text));
  return ReadText(std::move(list), name);
}

PciIdsRead ReadPciIds(std::string_view text, std::shared_ptr<const void> keeper,
                      std::string_view name) {
  auto list = std::make_shared<PciIdList>();
  list->SetText(text, std::move(keeper));
  return ReadText(std::move(list), name);
}

}  // namespace kelvox

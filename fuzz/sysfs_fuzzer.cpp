// The readers of what the Linux kernel writes under /sys/bus/pci/devices, on any text:
// - the `resource` file: a text it accepts has one region per line, at least seven, and each
//   region written out as the kernel writes it reads back the same; the sizing worked out from
//   the regions keeps its promise, that a function given SizingWritableMask and sized by a
//   write of all ones reads back SizingReadBack (tried on a simulated function, for each header
//   layout and register values drawn from the input);
// - the function folders' names: an accepted name is the folder name of the place it gives;
// - the fact files: each line "NAME VALUE" set as a capture's fact line sets it, an accepted
//   value fitting what a fact may hold, and the facts written as text reading back the same;
//   then the input, split at NUL bytes, becomes the small files of a function folder in the
//   temporary folder, and ReadSysfsFacts must read from them what the texts give;
// - the ID files of a function asleep in D3cold (the input split at NUL bytes again): what
//   ReadSleepingRegisters reads from them is what their texts give;
// - the AER counter files: every counter read is one of the text's "NAME COUNT" lines.
#include <unistd.h>

#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <fcntl.h>

#include "config/capture/simulated_bus.h"
#include "config/function_facts.h"
#include "config/header_type.h"
#include "config/sysfs/error_counters.h"
#include "config/sysfs/folder_name.h"
#include "config/sysfs/resource_sizing.h"
#include "config/sysfs/sleeping_function.h"
#include "config/sysfs/sysfs_facts.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fails(const std::string& what) {
  std::fprintf(stderr, "sysfs: %s\n", what.c_str());
  std::abort();
}

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%" PRIx64, value);
  return text;
}

std::vector<std::string_view> Split(std::string_view text, char at) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t stop = text.find(at, start);
    if (stop == std::string_view::npos) stop = text.size();
    parts.push_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  return parts;
}

// Values drawn from a generator seeded by the input.
struct Draws {
  std::uint64_t state;
  std::uint32_t Next() {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<std::uint32_t>(state >> 32);
  }
};

std::uint64_t Hash(std::string_view text) {
  std::uint64_t hash = 14695981039346656037u;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
  return hash;
}

// The header registers 0x00-0x3c, the header type set to `layout`.
using Registers = std::vector<std::uint32_t>;

// Sizes every register of a function holding `values` on a simulated function given the masks
// SizingWritableMask asks for, and compares with SizingReadBack wherever the promise holds: a
// register holding no bit its read-back lacks. Returns the read-backs.
Registers CheckSizing(const std::vector<kelvox::ResourceRegion>& regions, const Registers& values) {
  const kelvox::RegisterReader current = [&values](int reg) { return values.at((reg & 0xFC) / 4); };
  const int layout = kelvox::HeaderLayout(values[kelvox::kHeaderTypeRegister / 4]);
  kelvox::SimulatedBus bus;
  const kelvox::FunctionLocation at{0, 0, 0};
  bus.AddFunction(at);
  Registers read_backs(values.size());
  for (int reg = 0; reg < static_cast<int>(values.size()) * 4; reg += 4) {
    bus.SetRegister(at, reg, values[reg / 4]);
    const std::uint32_t mask = kelvox::SizingWritableMask(reg, current, regions);
    if (!kelvox::IsSizedRegister(layout, reg)) {
      if (mask != 0) Fails("a writable mask for register " + Hex(reg) + ", which is not sized");
      continue;
    }
    read_backs[reg / 4] = kelvox::SizingReadBack(reg, current, regions);
    if ((mask & ~read_backs[reg / 4]) != 0) {
      Fails("register " + Hex(reg) + ": mask " + Hex(mask) + " sets bits the read-back " +
            Hex(read_backs[reg / 4]) + " lacks");
    }
    bus.SetWritableMask(at, reg, mask);
  }
  for (int reg = 0x10; reg < static_cast<int>(values.size()) * 4; reg += 4) {
    if (!kelvox::IsSizedRegister(layout, reg)) continue;
    const std::uint32_t expected = read_backs[reg / 4];
    if ((values[reg / 4] & ~expected) != 0) continue;
    bus.Write(at.bus, at.device, at.function, reg, 0xFFFFFFFFu);
    const std::uint32_t got = bus.Read(at.bus, at.device, at.function, reg);
    if (got != expected) {
      Fails("layout " + std::to_string(layout) + " register " + Hex(reg) + " holding " +
            Hex(values[reg / 4]) + " sizes to " + Hex(got) + ", not " + Hex(expected));
    }
  }
  return read_backs;
}

void CheckResourceFile(std::string_view text) {
  const std::optional<std::vector<kelvox::ResourceRegion>> regions =
      kelvox::ParseResourceFile(text);
  if (!regions) return;
  // One region per line; a last line end closes the last line rather than opening another.
  std::size_t newlines = 0;
  for (const char c : text) newlines += c == '\n';
  const std::size_t expected_lines = newlines + (text.ends_with('\n') ? 0 : 1);
  if (regions->size() != expected_lines) {
    Fails(std::to_string(regions->size()) + " regions from " + std::to_string(expected_lines) +
          " lines");
  }
  if (regions->size() < 7) Fails("a resource file of fewer than seven lines accepted");
  std::string written;
  for (const kelvox::ResourceRegion& region : *regions) {
    char line[80];
    std::snprintf(line, sizeof line, "0x%016" PRIx64 " 0x%016" PRIx64 " 0x%016" PRIx64 "\n",
                  region.start, region.end, region.flags);
    written += line;
  }
  const std::optional<std::vector<kelvox::ResourceRegion>> again =
      kelvox::ParseResourceFile(written);
  if (!again || again->size() != regions->size()) Fails("the regions written are refused");
  for (std::size_t i = 0; i < regions->size(); ++i) {
    const kelvox::ResourceRegion& a = (*regions)[i];
    const kelvox::ResourceRegion& b = (*again)[i];
    if (a.start != b.start || a.end != b.end || a.flags != b.flags) {
      Fails("region " + std::to_string(i) + " reads back differently");
    }
  }

  Draws draws{Hash(text)};
  for (const int layout : {0, 1, 2, static_cast<int>(draws.Next() & 0x7F)}) {
    Registers values(0x40 / 4);
    for (std::uint32_t& value : values) value = draws.Next();
    values[kelvox::kHeaderTypeRegister / 4] = static_cast<std::uint32_t>(layout) << 16;
    const Registers read_backs = CheckSizing(*regions, values);
    // Registers that hold only bits of their read-back, where the promise applies.
    for (std::size_t i = 0x10 / 4; i < values.size(); ++i) values[i] &= read_backs[i];
    CheckSizing(*regions, values);
  }
}

void CheckFolderName(std::string_view name) {
  const std::optional<kelvox::FunctionLocation> at = kelvox::ParseSysfsFolderName(name);
  if (!at) return;
  if (at->domain < 0 || at->bus < 0 || at->bus > 0xFF || at->device < 0 || at->device > 0x1F ||
      at->function < 0 || at->function > 7) {
    Fails("folder name '" + std::string(name) + "' gives a place out of range");
  }
  // The kernel's name for the place, its domain written with as many digits as the name has.
  std::string expected = kelvox::SysfsFolderName(*at);
  const std::size_t digits = name.size() - 8;
  if (expected.size() - 8 > digits) Fails("folder name '" + std::string(name) + "' too short");
  expected.insert(0, digits - (expected.size() - 8), '0');
  if (expected != name) {
    Fails("folder name '" + std::string(name) + "' read as " + kelvox::SysfsFolderName(*at));
  }
}

void CheckFactLines(std::string_view text) {
  kelvox::FunctionFacts facts;
  for (const std::string_view line : Split(text, '\n')) {
    const std::size_t blank = line.find(' ');
    const std::string name(line.substr(0, blank));
    const std::string value(blank == std::string_view::npos ? "" : line.substr(blank + 1));
    if (!kelvox::SetNamedFact(facts, name, value)) continue;
    if (!kelvox::IsFactName(name)) Fails("fact '" + name + "' set, which is no fact");
    if (value.size() > kelvox::kMaxFactValueBytes) Fails("fact '" + name + "' set too long");
    for (const char c : value) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
        Fails("fact '" + name + "' set with a control character");
      }
    }
  }
  kelvox::FunctionFacts again;
  for (const kelvox::NamedFact& fact : kelvox::NamedFacts(facts)) {
    if (!kelvox::SetNamedFact(again, fact.name, fact.value)) {
      Fails("fact '" + fact.name + "' written as '" + fact.value + "' is refused");
    }
  }
  if (!(again == facts)) Fails("the facts written as text read back differently");
  (void)kelvox::LinkBelowMaximum(facts);
}

// A function folder in the temporary folder, under a bridge's folder as the kernel places
// them, removed when the run ends.
class FunctionFolder {
 public:
  FunctionFolder()
      : root_(fs::temp_directory_path() / ("kelvox-sysfs-fuzz-" + std::to_string(::getpid()))),
        folder_(root_ / "pci0000:00" / "0000:00:1c.0" / "0000:01:00.0") {
    fs::create_directories(folder_);
  }
  ~FunctionFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  const fs::path& path() const { return folder_; }

 private:
  fs::path root_, folder_;
};

constexpr const char* kFactFiles[] = {"modalias",
                                      "irq",
                                      "enable",
                                      "power_state",
                                      "numa_node",
                                      "current_link_speed",
                                      "current_link_width",
                                      "max_link_speed",
                                      "max_link_width"};
// The facts reader reads no more than this of a file.
constexpr std::size_t kMaxFactFile = 4096;

void CheckFactFiles(std::string_view text) {
  static const FunctionFolder folder;
  const std::vector<std::string_view> contents = Split(text, '\0');
  kelvox::FunctionFacts expected;
  expected.driver = "";
  expected.msi_vectors = 0;
  expected.iommu_group = "";
  expected.parent = "00:1c.0";
  std::size_t i = 0;
  for (const char* file : kFactFiles) {
    const fs::path path = folder.path() / file;
    // A new file each time: ext4 flushes a file truncated and written again to the disk when
    // it is closed, which would make each run wait for the disk.
    fs::remove(path);
    if (i >= contents.size()) continue;
    std::string_view content = contents[i++];
    {
      std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"),
                                                          std::fclose);
      if (!out || std::fwrite(content.data(), 1, content.size(), out.get()) != content.size()) {
        Fails("cannot write " + path.string());
      }
    }
    if (content.size() > kMaxFactFile) {
      expected = {};  // what the reader does with an oversized file is not checked
      return;
    }
    while (!content.empty() && (content.back() == '\n' || content.back() == '\r')) {
      content.remove_suffix(1);
    }
    kelvox::SetNamedFact(expected, file, std::string(content));
  }
  const std::optional<kelvox::FunctionFacts> read = kelvox::ReadSysfsFacts(
      folder.path().string(),
      [](const std::string& path, int flags) { return ::open(path.c_str(), flags); });
  if (!read) Fails("the function folder is not read");
  if (!(*read == expected)) {
    std::string report;
    for (const kelvox::NamedFact& fact : kelvox::NamedFacts(*read)) {
      report += "\n  read " + fact.name + " '" + fact.value + "'";
    }
    for (const kelvox::NamedFact& fact : kelvox::NamedFacts(expected)) {
      report += "\n  expected " + fact.name + " '" + fact.value + "'";
    }
    Fails("the facts read from the files are not what their texts give:" + report);
  }
}

// The value of an ID file as the kernel writes it ("0x8086", at most `digits` hex digits, one
// line end at most), worked out another way than the reader does.
std::optional<std::uint32_t> KernelHex(std::string_view text, int digits) {
  // The reader takes a file without its line end, however many line-end bytes it holds.
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  if (!text.starts_with("0x") || text.size() < 3 || text.size() > 2u + digits) return std::nullopt;
  const std::string digits_text(text.substr(2));
  if (digits_text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(std::strtoul(digits_text.c_str(), nullptr, 16));
}

void WriteWhole(const fs::path& path, std::string_view content) {
  fs::remove(path);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!out || std::fwrite(content.data(), 1, content.size(), out.get()) != content.size()) {
    Fails("cannot write " + path.string());
  }
}

// The attribute files of a function asleep in D3cold, split from the input at NUL bytes: the
// registers read from them are what their texts give, or nothing where vendor, device or class
// does not read as the kernel writes it.
void CheckSleepingFiles(std::string_view text) {
  static const FunctionFolder folder;
  constexpr const char* kFiles[] = {"vendor",   "device",           "class",
                                    "revision", "subsystem_vendor", "subsystem_device"};
  constexpr int kDigits[] = {4, 4, 6, 2, 4, 4};
  const std::vector<std::string_view> contents = Split(text, '\0');
  std::optional<std::uint32_t> values[6];
  for (std::size_t i = 0; i < 6; ++i) {
    const std::string_view content = i < contents.size() ? contents[i] : std::string_view();
    if (content.size() > 64) return;  // what the reader does with an oversized file is not checked
    WriteWhole(folder.path() / kFiles[i], content);
    values[i] = KernelHex(content, kDigits[i]);
  }
  WriteWhole(folder.path() / "power_state", "D3cold\n");
  const auto open = [](const std::string& path, int flags) { return ::open(path.c_str(), flags); };
  const std::optional<kelvox::KeptRegisters> kept =
      kelvox::ReadSleepingRegisters(folder.path().string(), open);
  if (!values[0] || !values[1] || !values[2]) {
    if (kept) Fails("registers read from malformed ID files");
    return;
  }
  if (!kept) Fails("well-formed ID files are not read");
  if (kept->reg00 != (*values[1] << 16 | *values[0])) Fails("vendor and device misread");
  if (kept->reg08 != (*values[2] << 8 | values[3].value_or(0))) Fails("class and revision misread");
  const std::uint32_t subsystem = values[4] && values[5] ? *values[5] << 16 | *values[4] : 0;
  if (kept->reg2c != subsystem) Fails("subsystem misread");
  WriteWhole(folder.path() / "power_state", "D0\n");
  if (kelvox::ReadSleepingRegisters(folder.path().string(), open)) Fails("an awake function kept");
}

}  // namespace

// The AER counter files: each counter read is named on a line of the text, "NAME COUNT" as
// the kernel writes it, its name a word of at most 40 characters.
void CheckErrorCounters(std::string_view text) {
  const std::vector<kelvox::ErrorCounter> counters = kelvox::ParseErrorCounters(text, "fatal");
  size_t lines = 0;
  for (const std::string_view line : Split(text, '\n')) {
    (void)line;
    ++lines;
  }
  if (counters.size() > lines) Fails("more counters than lines");
  for (const kelvox::ErrorCounter& counter : counters) {
    if (counter.group != "fatal") Fails("a counter of another group");
    if (counter.name.empty() || counter.name.size() > 40) Fails("a counter name " + counter.name);
    for (const char c : counter.name) {
      if (c == ' ' || c == '\n' || static_cast<unsigned char>(c) < 0x20) {
        Fails("a blank or control byte in a counter name");
      }
    }
    // The count may be written with leading zeros; the name and its blank are as given.
    const std::string line = counter.name + " ";
    if (text.find(line) == std::string_view::npos) Fails("a counter not in the text: " + line);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckResourceFile(text);
  for (const std::string_view line : Split(text, '\n')) CheckFolderName(line);
  CheckFactLines(text);
  CheckFactFiles(text);
  CheckSleepingFiles(text);
  CheckErrorCounters(text);
  return 0;
}

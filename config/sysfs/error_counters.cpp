#include "config/sysfs/error_counters.h"

#include <charconv>
#include <optional>

namespace kelvox {

namespace {

// The kernel's counter files are a few hundred bytes.
constexpr size_t kMaxCounterFile = 4096;
constexpr size_t kMaxCounterName = 40;

bool IsName(std::string_view name) {
  if (name.empty() || name.size() > kMaxCounterName) return false;
  for (const char c : name) {
    const bool word =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!word) return false;
  }
  return true;
}

std::optional<uint64_t> Count(std::string_view text) {
  uint64_t count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return count;
}

}  // namespace

std::vector<ErrorCounter> ParseErrorCounters(std::string_view text, std::string_view group) {
  std::vector<ErrorCounter> counters;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, blank);
    const std::optional<uint64_t> count = Count(line.substr(blank + 1));
    if (!IsName(name) || !count) continue;
    counters.push_back({std::string(group), std::string(name), *count});
  }
  return counters;
}

std::vector<ErrorCounter> ReadSysfsErrorCounters(const std::string& folder,
                                                 const FactsOpenFunction& open) {
  std::vector<ErrorCounter> counters;
  static constexpr struct {
    const char* file;
    const char* group;
  } kDevice[] = {{"aer_dev_correctable", "correctable"},
                 {"aer_dev_nonfatal", "nonfatal"},
                 {"aer_dev_fatal", "fatal"}};
  for (const auto& [file, group] : kDevice) {
    const std::optional<std::string> text =
        ReadSysfsLine(folder + "/" + file, open, kMaxCounterFile);
    if (!text) continue;
    for (ErrorCounter& counter : ParseErrorCounters(*text, group)) {
      counters.push_back(std::move(counter));
    }
  }
  static constexpr struct {
    const char* file;
    const char* group;
    const char* name;
  } kRootPort[] = {{"aer_rootport_total_err_cor", "rootport_correctable", "TOTAL_ERR_COR"},
                   {"aer_rootport_total_err_nonfatal", "rootport_nonfatal", "TOTAL_ERR_NONFATAL"},
                   {"aer_rootport_total_err_fatal", "rootport_fatal", "TOTAL_ERR_FATAL"}};
  for (const auto& [file, group, name] : kRootPort) {
    const std::optional<std::string> text = ReadSysfsLine(folder + "/" + file, open, 64);
    if (!text) continue;
    if (const std::optional<uint64_t> count = Count(*text)) {
      counters.push_back({group, name, *count});
    }
  }
  return counters;
}

}  // namespace kelvox

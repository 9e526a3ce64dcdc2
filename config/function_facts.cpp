#include "config/function_facts.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <iterator>

namespace kelvox {

namespace {

std::optional<int> ParseInt(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || text.empty()) return std::nullopt;
  return value;
}

// The transfer rate at the start of a link speed text ("8.0 GT/s PCIe", "2.5 GT/s"), or
// nothing for "Unknown" and anything else that does not start with a number.
std::optional<double> SpeedOf(const std::string& text) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || value <= 0) return std::nullopt;
  return value;
}

// The fields in their order, each with its name and a reader and writer of its text.
struct Field {
  const char* name;
  std::optional<std::string> (*get)(const FunctionFacts&);
  bool (*set)(FunctionFacts&, const std::string&);
};

template <std::optional<std::string> FunctionFacts::*member>
std::optional<std::string> GetText(const FunctionFacts& f) {
  return f.*member;
}
template <std::optional<std::string> FunctionFacts::*member>
bool SetText(FunctionFacts& f, const std::string& value) {
  f.*member = value;
  return true;
}
template <std::optional<int> FunctionFacts::*member>
std::optional<std::string> GetNumber(const FunctionFacts& f) {
  if (!(f.*member)) return std::nullopt;
  return std::to_string(*(f.*member));
}
// A number is taken only within what the kernel writes for it: an interrupt and a count of MSI
// vectors are never negative, numa_node is -1 when the function has no node, and a link width is
// the 6-bit field of the PCI Express link registers. Any other number was not read from a
// machine.
template <std::optional<int> FunctionFacts::*member, int lowest = 0, int highest = INT_MAX>
bool SetNumber(FunctionFacts& f, const std::string& value) {
  const std::optional<int> number = ParseInt(value);
  if (!number || *number < lowest || *number > highest) return false;
  f.*member = number;
  return true;
}
std::optional<std::string> GetEnabled(const FunctionFacts& f) {
  if (!f.enabled) return std::nullopt;
  return *f.enabled ? "1" : "0";
}
bool SetEnabled(FunctionFacts& f, const std::string& value) {
  const std::optional<int> number = ParseInt(value);
  if (!number || *number < 0) return false;
  f.enabled = *number != 0;
  return true;
}

constexpr Field kFields[] = {
    {"driver", GetText<&FunctionFacts::driver>, SetText<&FunctionFacts::driver>},
    {"modalias", GetText<&FunctionFacts::modalias>, SetText<&FunctionFacts::modalias>},
    {"irq", GetNumber<&FunctionFacts::irq>, SetNumber<&FunctionFacts::irq>},
    {"msi_irqs", GetNumber<&FunctionFacts::msi_vectors>, SetNumber<&FunctionFacts::msi_vectors>},
    {"enable", GetEnabled, SetEnabled},
    {"power_state", GetText<&FunctionFacts::power_state>, SetText<&FunctionFacts::power_state>},
    {"numa_node", GetNumber<&FunctionFacts::numa_node>, SetNumber<&FunctionFacts::numa_node, -1>},
    {"iommu_group", GetText<&FunctionFacts::iommu_group>, SetText<&FunctionFacts::iommu_group>},
    {"current_link_speed", GetText<&FunctionFacts::current_link_speed>,
     SetText<&FunctionFacts::current_link_speed>},
    {"current_link_width", GetNumber<&FunctionFacts::current_link_width>,
     SetNumber<&FunctionFacts::current_link_width, 0, 63>},
    {"max_link_speed", GetText<&FunctionFacts::max_link_speed>,
     SetText<&FunctionFacts::max_link_speed>},
    {"max_link_width", GetNumber<&FunctionFacts::max_link_width>,
     SetNumber<&FunctionFacts::max_link_width, 0, 63>},
    {"parent", GetText<&FunctionFacts::parent>, SetText<&FunctionFacts::parent>},
};

static_assert(std::size(kFields) == kFactCount);

}  // namespace

std::vector<NamedFact> NamedFacts(const FunctionFacts& facts) {
  std::vector<NamedFact> named;
  for (const Field& field : kFields) {
    if (std::optional<std::string> value = field.get(facts)) {
      named.push_back({field.name, std::move(*value)});
    }
  }
  return named;
}

bool IsFactName(std::string_view name) {
  for (const Field& field : kFields) {
    if (name == field.name) return true;
  }
  return false;
}

bool SetNamedFact(FunctionFacts& facts, const std::string& name, const std::string& value) {
  if (value.size() > kMaxFactValueBytes) return false;
  for (char c : value) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  for (const Field& field : kFields) {
    if (name == field.name) return field.set(facts, value);
  }
  return false;
}

std::optional<bool> LinkBelowMaximum(const FunctionFacts& facts) {
  if (!facts.current_link_speed || !facts.max_link_speed || !facts.current_link_width ||
      !facts.max_link_width) {
    return std::nullopt;
  }
  const std::optional<double> current = SpeedOf(*facts.current_link_speed);
  const std::optional<double> maximum = SpeedOf(*facts.max_link_speed);
  if (!current || !maximum || *facts.current_link_width <= 0 || *facts.max_link_width <= 0) {
    return std::nullopt;
  }
  return *current < *maximum || *facts.current_link_width < *facts.max_link_width;
}

}  // namespace kelvox

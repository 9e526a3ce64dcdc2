// What the operating system knows of a function beyond its configuration header: which driver
// has it, its interrupt, power and PCI Express link state, its IOMMU group, and the bridge it
// hangs under. Each fact is either known or not; "known to be none" (no driver bound, no NUMA
// node) is a known fact.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvox {

// The facts there are, and the longest name and value one can have: a text fact longer than
// this, or holding a control character, is not one the kernel writes and is taken as unknown.
inline constexpr size_t kFactCount = 13;
inline constexpr size_t kLongestFactName = sizeof "current_link_speed" - 1;
inline constexpr size_t kMaxFactValueBytes = 128;

struct FunctionFacts {
  std::optional<std::string> driver;    // the bound driver's name; "" when none is bound
  std::optional<std::string> modalias;  // the module alias that drivers match
  std::optional<int> irq;               // the interrupt the kernel assigned (0: none)
  std::optional<int> msi_vectors;       // MSI/MSI-X vectors in use (0: none)
  std::optional<bool> enabled;
  std::optional<std::string> power_state;                         // "D0" ... "D3cold", "unknown"
  std::optional<int> numa_node;                                   // -1: none
  std::optional<std::string> iommu_group;                         // "" when the function is in none
  std::optional<std::string> current_link_speed, max_link_speed;  // "8.0 GT/s PCIe"
  std::optional<int> current_link_width, max_link_width;          // lanes
  // The bridge above the function, as its address is written ("BB:DD.F" in domain 0000,
  // "DDDD:BB:DD.F" elsewhere), or "" when it hangs from the host bridge.
  std::optional<std::string> parent;

  bool operator==(const FunctionFacts&) const = default;
};

// The facts a caller may ask for alone (ConfigAccess::SomeFacts), so that an access method can
// leave the others unread: the driver, the parent, all the rest, or the link and power facts
// of the rest.
enum FactGroup : unsigned {
  kDriverFact = 1u << 0,
  kParentFact = 1u << 1,
  kOtherFacts = 1u << 2,
  // Of the rest, only the link's speed and width, `enable` and `power_state` (what a health
  // check reads of every function).
  kLinkFacts = 1u << 3,
};
inline constexpr unsigned kEveryFact = kDriverFact | kParentFact | kOtherFacts | kLinkFacts;

// One fact as text: its name as the kernel's file calls it, and its value.
struct NamedFact {
  std::string name;
  std::string value;
  bool operator==(const NamedFact&) const = default;
};

// The known facts as name and value, in the order of FunctionFacts, with the value as the
// kernel's file holds it ("1"/"0" for enabled, the count for msi_irqs, "" for none).
std::vector<NamedFact> NamedFacts(const FunctionFacts& facts);

// Whether `name` is the name of a fact.
bool IsFactName(std::string_view name);

// Sets the fact `name` from its text; false, with the facts unchanged, when the name is
// unknown or the value is not one (a number that is not one or outside what the kernel writes,
// a text over kMaxFactValueBytes or with a control character in it).
bool SetNamedFact(FunctionFacts& facts, const std::string& name, const std::string& value);

// Whether the link runs below what it can now: a current speed or width under its maximum.
// Nothing when either side is not known or does not parse ("Unknown" speed, width 0).
std::optional<bool> LinkBelowMaximum(const FunctionFacts& facts);

}  // namespace kelvox

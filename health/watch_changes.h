// What `health --watch` compares between two samples of the bus: per function its link's
// speed and width, its driver and its error counters; a function that appears or goes away.
// Plain data in, changes out; the terminal takes the samples and prints the changes.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "health/link_health.h"

namespace kelvox::health {

struct FunctionSample {
  double speed = 0;  // GT/s now, 0 where not known
  int width = 0;
  std::optional<std::string> driver;         // "" none, nothing where not known
  std::map<std::string, uint64_t> counters;  // "correctable RxErr" -> count
  bool operator==(const FunctionSample&) const = default;
};

// The functions of one sample by address.
using BusSample = std::map<std::string, FunctionSample>;

struct Change {
  std::string address;
  // "link" (speed or width), "counter", "added", "removed", "driver".
  std::string kind;
  std::string text;  // "link 16GT/s x16 -> 2.5GT/s x16", "correctable RxErr rose by 3 to 5"
};

// The sample a health check's functions make, for each one placed in a bus: what was read of
// them already, so that whoever has just read them need not read the bus again to sample it.
BusSample SampleOf(const std::vector<HealthFunction>& functions);

// What changed from `before` to `after`, in address order.
std::vector<Change> CompareSamples(const BusSample& before, const BusSample& after);

// The changes of a whole watch, counted per function: one line per function that changed,
// "01:00.0: 6 changes (link 6): flapping" where its link changed three times or more.
std::vector<std::string> ChangeSummary(const std::vector<Change>& changes);

}  // namespace kelvox::health

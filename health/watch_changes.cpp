#include "health/watch_changes.h"

#include "health/link_health.h"

namespace kelvox::health {

namespace {

// A link changing this often in one watch is flapping, not retraining once.
constexpr int kFlappingChanges = 3;

std::string SampleLink(const FunctionSample& sample) {
  return LinkText(sample.speed, sample.width);
}

std::string DriverText(const std::optional<std::string>& driver) {
  return !driver ? "?" : driver->empty() ? "(none)" : *driver;
}

void CompareFunction(const std::string& address, const FunctionSample& before,
                     const FunctionSample& after, std::vector<Change>& changes) {
  if (before.speed != after.speed || before.width != after.width) {
    changes.push_back({address, "link", "link " + SampleLink(before) + " -> " + SampleLink(after)});
  }
  if (before.driver != after.driver && before.driver && after.driver) {
    changes.push_back({address, "driver",
                       after.driver->empty()
                           ? "driver " + *before.driver + " unbound"
                           : "driver " + DriverText(before.driver) + " -> " + *after.driver});
  }
  for (const auto& [name, count] : after.counters) {
    const auto was = before.counters.find(name);
    const uint64_t old = was == before.counters.end() ? 0 : was->second;
    if (count > old) {
      changes.push_back(
          {address, "counter",
           name + " rose by " + std::to_string(count - old) + " to " + std::to_string(count)});
    }
  }
}

}  // namespace

BusSample SampleOf(const std::vector<HealthFunction>& functions) {
  BusSample sample;
  for (const HealthFunction& function : functions) {
    if (!function.at) continue;
    FunctionSample& taken = sample[function.address];
    if (function.link) {
      taken.speed = function.link->speed;
      taken.width = function.link->width;
    }
    taken.driver = function.driver;
    for (const ErrorCounter& counter : function.counters) {
      taken.counters.emplace(counter.group + " " + counter.name, counter.count);
    }
  }
  return sample;
}

std::vector<Change> CompareSamples(const BusSample& before, const BusSample& after) {
  std::vector<Change> changes;
  auto b = before.begin();
  auto a = after.begin();
  while (b != before.end() || a != after.end()) {
    if (a == after.end() || (b != before.end() && b->first < a->first)) {
      changes.push_back({b->first, "removed", "removed"});
      ++b;
    } else if (b == before.end() || a->first < b->first) {
      const bool link = a->second.speed > 0 || a->second.width > 0;
      changes.push_back({a->first, "added",
                         "added (" + (link ? SampleLink(a->second) + ", " : std::string()) +
                             "driver " + DriverText(a->second.driver) + ")"});
      ++a;
    } else {
      CompareFunction(a->first, b->second, a->second, changes);
      ++a;
      ++b;
    }
  }
  return changes;
}

std::vector<std::string> ChangeSummary(const std::vector<Change>& changes) {
  std::map<std::string, std::map<std::string, int>> counts;
  for (const Change& change : changes) ++counts[change.address][change.kind];
  std::vector<std::string> lines;
  for (const auto& [address, kinds] : counts) {
    int total = 0;
    std::string parts;
    for (const auto& [kind, count] : kinds) {
      total += count;
      parts += (parts.empty() ? "" : ", ") + kind + " " + std::to_string(count);
    }
    std::string line = address + ": " + std::to_string(total) +
                       (total == 1 ? " change (" : " changes (") + parts + ")";
    const auto link = kinds.find("link");
    if (link != kinds.end() && link->second >= kFlappingChanges) line += ": flapping";
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace kelvox::health

// What `diff` compares of a bus: per present function its IDs, class, revision, subsystem,
// base address sizes, link now and at most, driver, IOMMU group and capability list, each as a
// short text; what is not known (facts a capture does not hold) is left out and not compared.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "config/access.h"

namespace kelvox::cli {

// A function's compared fields, in a fixed order: ("driver", "nvme"), ...
using FunctionSnapshot = std::vector<std::pair<std::string, std::string>>;
using BusSnapshot = std::map<FunctionLocation, FunctionSnapshot>;

// Reads every present function of every domain of `access`, its base address sizes as the
// access method knows them without writing (ConfigAccess::SizingWithoutWriting).
BusSnapshot TakeSnapshot(ConfigAccess& access);

struct FieldChange {
  std::string field, a, b;
};

struct FunctionDifference {
  FunctionLocation at;
  enum class Kind { kRemoved, kAdded, kChanged } kind = Kind::kChanged;
  std::string what;                  // removed or added: its IDs and class ("1af4:1041 020000")
  std::vector<FieldChange> changes;  // changed: each field that differs
};

// The functions only in `a`, only in `b`, and those whose fields known on both sides differ,
// in address order.
std::vector<FunctionDifference> CompareSnapshots(const BusSnapshot& a, const BusSnapshot& b);

}  // namespace kelvox::cli

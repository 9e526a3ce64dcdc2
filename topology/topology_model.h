// What the topology window shows, without the window: every function of every domain in the
// tree `kelvox-cli tree` draws, each with its names, class, driver, link now and at most, and
// the health findings on it; the worst finding at or below each row, so a collapsed bridge
// still shows where to look; which rows a filter keeps; and what changed since the first
// sample of an automatic refresh.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/access.h"
#include "health/link_health.h"
#include "health/watch_changes.h"

namespace kelvox::topology {

struct TopologyRow {
  std::optional<FunctionLocation> at;  // nothing for a function without a place in a bus
  std::string address;                 // as the terminal writes it
  std::string ids;                     // "10de:2204"
  std::string names;                   // "NVIDIA Corporation GA102", "" where the list has none
  std::string class_name;              // the sub-class's name, else the base class's
  std::string driver;                  // "" none bound or not known (driver_known tells)
  bool driver_known = false;
  std::string link_now, link_max;  // "8GT/s x4", "" without a link
  int parent = -1;                 // the row it hangs from, -1 at the top of its domain
  int domain = 0;
  // The findings on this function, worst first, one line each; and the worst of them.
  std::vector<std::string> findings;
  std::optional<health::Severity> own;
  // The worst finding on this function or any below it.
  std::optional<health::Severity> mark;
  // What changed since the first sample, one line each (auto-refresh).
  std::vector<std::string> changes;
};

class TopologyModel {
 public:
  // Reads the bus of every domain of `access` afresh (with the health findings), keeping the
  // change marks; sampled() is then what this read found, for MarkChanges.
  void Read(ConfigAccess& access);
  const health::BusSample& sampled() const { return sampled_; }
  // Builds the rows from what was gathered: the functions in tree order with their parents'
  // indices, and the findings on them.
  void Build(const std::vector<health::HealthFunction>& functions,
             const std::vector<health::Finding>& findings);

  const std::vector<TopologyRow>& rows() const { return rows_; }
  // The domains the rows are in, lowest first.
  std::vector<int> Domains() const;
  // Whether the top of each domain's tree names its domain: more than one domain, or one
  // other than 0000.
  bool NamesDomains() const;

  // The rows a filter keeps: those whose address, IDs, names, class or driver hold `filter`
  // (any case; blanks at the ends ignored) and every row above them. All rows for "".
  std::vector<bool> Matching(std::string_view filter) const;

  // The automatic refresh: the first call takes the sample that later ones are compared with;
  // every later call marks each row with what changed since then (a function that went away
  // is named in removed()).
  void MarkChanges(const health::BusSample& now);
  void ForgetChanges();
  const std::vector<std::string>& removed() const { return removed_; }

  // The row of a function's address, or -1.
  int RowOf(std::string_view address) const;

 private:
  std::vector<TopologyRow> rows_;
  health::BusSample sampled_;
  std::optional<health::BusSample> first_sample_;
  std::vector<health::Change> changes_;
  std::vector<std::string> removed_;
  void ApplyChanges();
};

// The text a tooltip or the finding column shows for a row: its findings, or, for a bridge
// with findings only below it, "下位のデバイスに所見あり"; "" when nothing is found.
std::string FindingText(const TopologyRow& row);

}  // namespace kelvox::topology

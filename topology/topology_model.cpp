#include "topology/topology_model.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "cli/health_command.h"
#include "text/hex_digit.h"

namespace kelvox::topology {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

void Worsen(std::optional<health::Severity>& mark, health::Severity severity) {
  if (!mark || *mark < severity) mark = severity;
}

}  // namespace

void TopologyModel::Read(ConfigAccess& access) {
  const std::vector<health::HealthFunction> functions = cli::GatherHealth(access, false);
  Build(functions, health::JudgeHealth(functions));
  sampled_ = health::SampleOf(functions);
  ApplyChanges();
}

void TopologyModel::Build(const std::vector<health::HealthFunction>& functions,
                          const std::vector<health::Finding>& findings) {
  rows_.clear();
  rows_.reserve(functions.size());
  std::map<std::string_view, size_t> by_address;
  for (const health::HealthFunction& function : functions) {
    TopologyRow row;
    row.at = function.at;
    row.address = function.address;
    row.ids = HexText(function.vendor_id, 4) + ":" + HexText(function.device_id, 4);
    row.names = function.vendor_name;
    if (!function.device_name.empty()) {
      row.names += (row.names.empty() ? "" : " ") + function.device_name;
    }
    row.class_name = function.name;
    row.driver_known = function.driver.has_value();
    row.driver = function.driver.value_or("");
    if (function.link) {
      row.link_now = health::LinkText(function.link->speed, function.link->width);
      row.link_max = health::LinkText(function.link->max_speed, function.link->max_width);
    }
    row.parent = function.parent;
    // A function without a place in a bus sits with domain 0000's.
    row.domain = function.at ? function.at->domain : 0;
    rows_.push_back(std::move(row));
  }
  for (size_t i = 0; i < rows_.size(); ++i) by_address.emplace(rows_[i].address, i);
  for (const health::Finding& finding : findings) {
    const auto found = by_address.find(finding.address);
    if (found == by_address.end()) continue;
    TopologyRow& row = rows_[found->second];
    row.findings.push_back(health::SeverityName(finding.severity) + std::string(": ") +
                           finding.text);
    Worsen(row.own, finding.severity);
  }
  // Each row's mark carried up to every bridge above it; parents come before their children,
  // so one pass from the end reaches the top.
  for (TopologyRow& row : rows_) row.mark = row.own;
  for (size_t i = rows_.size(); i-- > 0;) {
    const int parent = rows_[i].parent;
    if (parent < 0 || static_cast<size_t>(parent) >= i || !rows_[i].mark) continue;
    Worsen(rows_[static_cast<size_t>(parent)].mark, *rows_[i].mark);
  }
}

std::vector<int> TopologyModel::Domains() const {
  std::vector<int> domains;
  for (const TopologyRow& row : rows_) {
    if (std::find(domains.begin(), domains.end(), row.domain) == domains.end()) {
      domains.push_back(row.domain);
    }
  }
  std::sort(domains.begin(), domains.end());
  return domains;
}

bool TopologyModel::NamesDomains() const {
  const std::vector<int> domains = Domains();
  return domains.size() > 1 || (domains.size() == 1 && domains.front() != 0);
}

std::vector<bool> TopologyModel::Matching(std::string_view filter) const {
  const std::string wanted = Lower(Trimmed(filter));
  std::vector<bool> shown(rows_.size(), wanted.empty());
  if (wanted.empty()) return shown;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const TopologyRow& row = rows_[i];
    bool match = false;
    for (const std::string* field :
         {&row.address, &row.ids, &row.names, &row.class_name, &row.driver}) {
      if (Lower(*field).find(wanted) != std::string::npos) {
        match = true;
        break;
      }
    }
    if (!match) continue;
    // The row and every bridge above it, up to one already shown.
    for (size_t at = i; !shown[at];) {
      shown[at] = true;
      const int parent = rows_[at].parent;
      if (parent < 0 || static_cast<size_t>(parent) >= rows_.size()) break;
      at = static_cast<size_t>(parent);
    }
  }
  return shown;
}

void TopologyModel::MarkChanges(const health::BusSample& now) {
  if (!first_sample_) {
    first_sample_ = now;
    return;
  }
  changes_ = health::CompareSamples(*first_sample_, now);
  ApplyChanges();
}

void TopologyModel::ForgetChanges() {
  first_sample_.reset();
  changes_.clear();
  ApplyChanges();
}

void TopologyModel::ApplyChanges() {
  removed_.clear();
  for (TopologyRow& row : rows_) row.changes.clear();
  for (const health::Change& change : changes_) {
    const int index = RowOf(change.address);
    if (index >= 0) {
      rows_[static_cast<size_t>(index)].changes.push_back(change.text);
    } else if (change.kind == "removed") {
      removed_.push_back(change.address);
    }
  }
}

int TopologyModel::RowOf(std::string_view address) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].address == address) return static_cast<int>(i);
  }
  return -1;
}

std::string FindingText(const TopologyRow& row) {
  std::string text;
  for (const std::string& line : row.findings) text += (text.empty() ? "" : "\n") + line;
  if (text.empty() && row.mark) text = "下位のデバイスに所見あり";
  for (const std::string& line : row.changes) {
    text += (text.empty() ? "変化: " : "\n変化: ") + line;
  }
  return text;
}

}  // namespace kelvox::topology

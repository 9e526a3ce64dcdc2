#include "topology/link_verdict.h"

#include <algorithm>

#include "cli/health_command.h"

namespace kelvox::topology {

namespace {

// The kinds of finding that are about a function's link.
bool IsLinkFinding(const health::Finding& finding) {
  return finding.kind == "link" || finding.kind == "link_down" || finding.kind == "path";
}

}  // namespace

std::optional<std::string> LinkVerdict(const std::vector<health::HealthFunction>& functions,
                                       const std::vector<health::Finding>& findings,
                                       FunctionLocation at) {
  const auto function = std::find_if(functions.begin(), functions.end(),
                                     [at](const health::HealthFunction& f) { return f.at == at; });
  if (function == functions.end() || !function->link) return std::nullopt;
  std::string text;
  for (const health::Finding& finding : findings) {
    if (!IsLinkFinding(finding)) continue;
    if (finding.address != function->address && finding.port != function->address) continue;
    text += (text.empty() ? "" : " / ") + finding.text;
  }
  return text.empty() ? "正常" : text;
}

std::optional<std::string> ReadLinkVerdict(ConfigAccess& access, FunctionLocation at) {
  const std::vector<health::HealthFunction> functions = cli::GatherHealth(access, false);
  return LinkVerdict(functions, health::JudgeHealth(functions), at);
}

}  // namespace kelvox::topology

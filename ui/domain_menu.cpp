#include "ui/domain_menu.h"

#include <algorithm>

#include "config/function_location.h"

namespace kelvox {

std::vector<DomainMenuItem> DomainMenuItems(const std::vector<int>& domains, int selected) {
  std::vector<DomainMenuItem> items;
  if (domains.size() < 2) return items;
  const size_t count = std::min(domains.size(), static_cast<size_t>(kMaxDomainItems));
  for (size_t i = 0; i < count; ++i) {
    items.push_back({kFirstDomainCommand + static_cast<int>(i), DomainText(domains[i]),
                     domains[i] == selected});
  }
  return items;
}

std::optional<int> DomainOfCommand(const std::vector<int>& domains, int command) {
  const int index = command - kFirstDomainCommand;
  if (index < 0 || index >= kMaxDomainItems || static_cast<size_t>(index) >= domains.size()) {
    return std::nullopt;
  }
  return domains[static_cast<size_t>(index)];
}

}  // namespace kelvox

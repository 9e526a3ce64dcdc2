#include "cli/bus_tree.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <map>
#include <utility>

#include "config/header_type.h"

namespace kelvox::cli {

namespace {

constexpr int kBridgeLayout = 1;
constexpr int kCardbusLayout = 2;
// The dword holding the primary, secondary and subordinate bus numbers of a bridge.
constexpr int kBusNumbersRegister = 0x18;

struct Entry {
  ListedFunction function;
  std::optional<std::string> driver;
  std::optional<std::string> parent;  // the parent's address; nothing for the top
  bool parent_known = false;          // the system named the parent (or the top)
};

TreeNode NodeOf(const std::vector<Entry>& entries, size_t index,
                const std::vector<std::vector<size_t>>& children_of) {
  TreeNode node{entries[index].function, entries[index].driver, {}};
  for (size_t child : children_of[index])
    node.children.push_back(NodeOf(entries, child, children_of));
  return node;
}

void AppendTree(std::string& text, const std::vector<TreeNode>& nodes, const std::string& indent) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    const bool last = i + 1 == nodes.size();
    text += indent;
    text += last ? "└─ " : "├─ ";
    text += nodes[i].function.text;
    if (nodes[i].driver) {
      text += nodes[i].driver->empty() ? "  [ドライバなし]" : "  [" + *nodes[i].driver + "]";
    }
    text += '\n';
    AppendTree(text, nodes[i].children, indent + (last ? "   " : "│  "));
  }
}

}  // namespace

std::vector<TreeNode> BuildBusTree(ConfigAccess& access,
                                   const std::vector<FunctionLocation>& present) {
  std::vector<Entry> entries;
  // (domain, secondary bus) -> the bridge's address
  std::map<std::pair<int, int>, std::string> bridge_of_bus;
  const bool with_domains = NeedsDomains(present);
  for (const FunctionLocation& at : present) {
    Entry entry{DescribeFunction(access, at, with_domains), std::nullopt, std::nullopt};
    const DomainScope in_domain(access, at.domain);
    const std::optional<FunctionFacts> facts = access.Facts(at);
    if (facts) {
      entry.driver = facts->driver;
      entry.parent_known = facts->parent.has_value();
      if (facts->parent && !facts->parent->empty()) entry.parent = facts->parent;
    }
    const uint32_t header = access.Read(at.bus, at.device, at.function, kHeaderTypeRegister);
    const int layout = HeaderLayout(header);
    if (header != kAllOnes && (layout == kBridgeLayout || layout == kCardbusLayout)) {
      const int secondary =
          (access.Read(at.bus, at.device, at.function, kBusNumbersRegister) >> 8) & 0xFF;
      if (secondary != at.bus)
        bridge_of_bus.emplace(std::pair(at.domain, secondary), AddressText(at));
    }
    entries.push_back(std::move(entry));
  }
  // Where the system does not say, the bus numbers do.
  for (Entry& entry : entries) {
    if (entry.parent_known) continue;
    const std::string self = AddressText(entry.function.at);
    const auto bridge = bridge_of_bus.find({entry.function.at.domain, entry.function.at.bus});
    if (bridge != bridge_of_bus.end() && bridge->second != self) entry.parent = bridge->second;
  }
  std::map<std::string, size_t> index_of;
  // Keyed as the `parent` fact names a bridge: with its domain outside domain 0000.
  for (size_t i = 0; i < entries.size(); ++i) index_of[AddressText(entries[i].function.at)] = i;
  std::vector<std::vector<size_t>> children_of(entries.size());
  std::vector<size_t> roots;
  // The parent of each function, or nothing: a bridge that is not listed, or one that would
  // close a loop (as a hand-edited capture can say), leaves the function on top.
  std::vector<std::optional<size_t>> parent_of(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::optional<std::string>& parent = entries[i].parent;
    if (!parent || !index_of.contains(*parent)) continue;
    size_t above = index_of[*parent];
    parent_of[i] = above;
    for (size_t steps = 0; steps <= entries.size(); ++steps) {
      if (above == i) {
        parent_of[i].reset();
        break;
      }
      if (!parent_of[above]) break;
      above = *parent_of[above];
    }
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (parent_of[i]) {
      children_of[*parent_of[i]].push_back(i);
    } else {
      roots.push_back(i);
    }
  }
  std::vector<TreeNode> tree;
  for (size_t root : roots) tree.push_back(NodeOf(entries, root, children_of));
  return tree;
}

std::string BusTreeText(const std::vector<TreeNode>& roots) {
  const bool with_domains = std::any_of(roots.begin(), roots.end(), [](const TreeNode& node) {
    return node.function.at.domain != 0;
  });
  if (!with_domains) {
    std::string text = "ホストブリッジ\n";
    AppendTree(text, roots, "");
    return text;
  }
  // Each domain has host bridges of its own: one tree per domain.
  std::string text;
  for (size_t first = 0; first < roots.size();) {
    const int domain = roots[first].function.at.domain;
    size_t end = first;
    while (end < roots.size() && roots[end].function.at.domain == domain) ++end;
    text += "ホストブリッジ (ドメイン " + DomainText(domain) + ")\n";
    AppendTree(text,
               std::vector<TreeNode>(roots.begin() + static_cast<std::ptrdiff_t>(first),
                                     roots.begin() + static_cast<std::ptrdiff_t>(end)),
               "");
    first = end;
  }
  return text;
}

Json BusTreeJson(const std::vector<TreeNode>& roots) {
  Json nodes = Json::array();
  for (const TreeNode& node : roots) {
    Json object = ListedFunctionJson(node.function);
    object["driver"] = node.driver ? Json(*node.driver) : Json();
    object["children"] = BusTreeJson(node.children);
    nodes.push_back(std::move(object));
  }
  return nodes;
}

}  // namespace kelvox::cli

#include "cli/bus_tree.h"

#include <cstdio>
#include <map>

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
  std::map<int, std::string> bridge_of_bus;  // secondary bus -> the bridge's address
  for (const FunctionLocation& at : present) {
    Entry entry{DescribeFunction(access, at), std::nullopt, std::nullopt};
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
      if (secondary != at.bus) bridge_of_bus.emplace(secondary, LocationText(at));
    }
    entries.push_back(std::move(entry));
  }
  // Where the system does not say, the bus numbers do.
  for (Entry& entry : entries) {
    if (entry.parent_known) continue;
    const std::string self = LocationText(entry.function.at);
    const auto bridge = bridge_of_bus.find(entry.function.at.bus);
    if (bridge != bridge_of_bus.end() && bridge->second != self) entry.parent = bridge->second;
  }
  std::map<std::string, size_t> index_of;
  for (size_t i = 0; i < entries.size(); ++i) index_of[LocationText(entries[i].function.at)] = i;
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
  std::string text = "ホストブリッジ\n";
  AppendTree(text, roots, "");
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

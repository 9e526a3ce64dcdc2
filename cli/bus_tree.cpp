#include "cli/bus_tree.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <span>
#include <string_view>
#include <utility>

#include "config/domain_number.h"
#include "config/header_type.h"
#include "text/hex_digit.h"

namespace kelvox::cli {

namespace {

constexpr int kBridgeLayout = 1;
constexpr int kCardbusLayout = 2;
// The dword holding the primary, secondary and subordinate bus numbers of a bridge.
constexpr int kBusNumbersRegister = 0x18;
// No function: the host bridge.
constexpr size_t kTop = SIZE_MAX;

struct Entry {
  ListedFunction function;
  std::optional<std::string> driver;
  std::optional<std::string> parent_fact;  // what the system said of the parent, if anything
  bool bridge = false;                     // a PCI-PCI or CardBus bridge
};

// The function a `parent` fact names: "BB:DD.F" in `own_domain`, "DDDD:BB:DD.F" in the domain
// it gives (as sysfs writes the parent outside domain 0000). Nothing for any other text.
std::optional<FunctionLocation> NamedLocation(std::string_view text, int own_domain) {
  constexpr size_t kAddressLength = sizeof "BB:DD.F" - 1;
  if (text.size() < kAddressLength) return std::nullopt;
  FunctionLocation at{0, 0, 0, own_domain};
  const std::string_view address = text.substr(text.size() - kAddressLength);
  if (text.size() > kAddressLength) {
    const std::string_view domain_part = text.substr(0, text.size() - kAddressLength);
    if (domain_part.back() != ':') return std::nullopt;
    const DomainNumber domain = ParseDomainNumber(domain_part.substr(0, domain_part.size() - 1));
    if (!domain.value) return std::nullopt;
    at.domain = *domain.value;
  }
  if (address[2] != ':' || address[5] != '.') return std::nullopt;
  for (const size_t digit : {0, 1, 3, 4, 6}) {
    if (HexDigitValue(address[digit]) < 0) return std::nullopt;
  }
  at.bus = HexDigitValue(address[0]) * 16 + HexDigitValue(address[1]);
  at.device = HexDigitValue(address[3]) * 16 + HexDigitValue(address[4]);
  at.function = HexDigitValue(address[6]);
  if (at.device > 31 || at.function > 7) return std::nullopt;
  return at;
}

// The functions read, with what the system says of each and whether it is a bridge.
struct ReadFunctions {
  std::vector<Entry> entries;
  std::map<FunctionLocation, size_t> index_of;
  // (domain, secondary bus) -> the bridge forwarding to it: the first one listed.
  std::map<std::pair<int, int>, size_t> bridge_of_bus;
};

ReadFunctions ReadFunctionsOf(ConfigAccess& access, const std::vector<FunctionLocation>& present,
                              bool with_domains) {
  ReadFunctions read;
  for (const FunctionLocation& at : present) {
    const size_t index = read.entries.size();
    Entry entry{DescribeFunction(access, at, with_domains), std::nullopt, std::nullopt, false};
    const DomainScope in_domain(access, at.domain);
    if (const std::optional<FunctionFacts> facts =
            access.SomeFacts(at, kDriverFact | kParentFact)) {
      entry.driver = facts->driver;
      entry.parent_fact = facts->parent;
    }
    // A function asleep in D3cold is placed from what the system keeps of it, not woken.
    const std::optional<KeptRegisters>& kept = entry.function.kept;
    const auto register_of = [&](int reg) {
      return kept ? kept->Register(reg) : access.Read(at.bus, at.device, at.function, reg);
    };
    const uint32_t header = register_of(kHeaderTypeRegister);
    const int layout = HeaderLayout(header);
    entry.bridge = header != kAllOnes && (layout == kBridgeLayout || layout == kCardbusLayout);
    if (entry.bridge) {
      const int secondary = (register_of(kBusNumbersRegister) >> 8) & 0xFF;
      // Buses are numbered down from the host bridge: a secondary bus at or below the bridge's
      // own is not one it forwards to (a register reading 0 says nothing).
      if (secondary > at.bus) read.bridge_of_bus.emplace(std::pair(at.domain, secondary), index);
    }
    read.index_of.emplace(at, index);
    read.entries.push_back(std::move(entry));
  }
  return read;
}

// The bridge entry `index` hangs from, as the facts or else the bus numbers say, or kTop.
// When the system names the parent, its word is taken: "" (the host bridge), or text naming
// no listed bridge of the function's own domain (another domain, a function that is not a
// bridge, one that is not there, the function itself), leaves the function on top rather than
// guessing from bus numbers that the system's own view contradicts.
size_t ParentNamed(const ReadFunctions& read, size_t index) {
  const Entry& entry = read.entries[index];
  const FunctionLocation& at = entry.function.at;
  if (entry.parent_fact) {
    const std::optional<FunctionLocation> named = NamedLocation(*entry.parent_fact, at.domain);
    if (!named || named->domain != at.domain) return kTop;
    const auto found = read.index_of.find(*named);
    if (found == read.index_of.end() || found->second == index) return kTop;
    return read.entries[found->second].bridge ? found->second : kTop;
  }
  const auto bridge = read.bridge_of_bus.find({at.domain, at.bus});
  return bridge == read.bridge_of_bus.end() ? kTop : bridge->second;
}

// The parent of each entry with no loop: the links are taken in entry order, and one that
// would close a loop with those taken before (as a hand-edited capture can say) is dropped,
// leaving its function on top. A disjoint-set forest finds the top of each chain in close to
// constant time, so a long chain costs no more than a short one per link.
std::vector<size_t> ParentsWithoutLoops(const ReadFunctions& read) {
  const size_t count = read.entries.size();
  std::vector<size_t> parent(count, kTop);
  std::vector<size_t> toward_top(count);
  for (size_t i = 0; i < count; ++i) toward_top[i] = i;
  const auto top_of = [&toward_top](size_t at) {
    while (toward_top[at] != at) {
      toward_top[at] = toward_top[toward_top[at]];
      at = toward_top[at];
    }
    return at;
  };
  for (size_t i = 0; i < count; ++i) {
    const size_t above = ParentNamed(read, i);
    // Entry i has no parent yet, so it is the top of its own chain: a parent whose chain leads
    // up to i would make a loop.
    if (above == kTop || top_of(above) == i) continue;
    parent[i] = above;
    toward_top[i] = above;
  }
  return parent;
}

// The parent each entry is drawn under: its own, except that an entry the links put deeper
// than kMaxTreeDepth is drawn under the ancestor at level kMaxTreeDepth - 1. Also the level of
// each entry, 1 on top.
void DrawnParents(const std::vector<size_t>& parent, std::vector<size_t>& drawn,
                  std::vector<size_t>& level) {
  const size_t count = parent.size();
  std::vector<std::vector<size_t>> children(count);
  std::vector<size_t> order;  // parents before their children
  order.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (parent[i] == kTop) {
      order.push_back(i);
    } else {
      children[parent[i]].push_back(i);
    }
  }
  drawn.assign(count, kTop);
  level.assign(count, 1);
  for (size_t next = 0; next < order.size(); ++next) {
    const size_t at = order[next];
    for (const size_t child : children[at]) {
      if (level[at] < kMaxTreeDepth) {
        drawn[child] = at;
        level[child] = level[at] + 1;
      } else {
        drawn[child] = drawn[at];
        level[child] = level[at];
      }
      order.push_back(child);
    }
  }
}

}  // namespace

std::vector<TreeNode> BuildBusTree(ConfigAccess& access,
                                   const std::vector<FunctionLocation>& present,
                                   bool with_domains) {
  ReadFunctions read = ReadFunctionsOf(access, present, with_domains || NeedsDomains(present));
  const size_t count = read.entries.size();
  std::vector<size_t> drawn, level;
  DrawnParents(ParentsWithoutLoops(read), drawn, level);

  // The nodes are put together from the deepest level up, so each node's children are
  // complete when it is moved into its parent; entry order keeps them in address order.
  std::vector<std::vector<size_t>> at_level(kMaxTreeDepth + 1);
  for (size_t i = 0; i < count; ++i) at_level[level[i]].push_back(i);
  std::vector<TreeNode> nodes(count);
  for (size_t i = 0; i < count; ++i) {
    nodes[i].function = std::move(read.entries[i].function);
    nodes[i].driver = std::move(read.entries[i].driver);
  }
  std::vector<TreeNode> tree;
  for (size_t depth = kMaxTreeDepth; depth >= 1; --depth) {
    for (const size_t i : at_level[depth]) {
      if (drawn[i] == kTop) continue;
      nodes[drawn[i]].children.push_back(std::move(nodes[i]));
    }
  }
  for (const size_t i : at_level[1]) tree.push_back(std::move(nodes[i]));
  return tree;
}

bool KeepChosen(std::vector<TreeNode>& roots,
                const std::function<bool(const ListedFunction&)>& chosen) {
  // BuildBusTree draws no tree deeper than kMaxTreeDepth, which bounds this recursion.
  std::vector<TreeNode> kept;
  for (TreeNode& node : roots) {
    const bool below = KeepChosen(node.children, chosen);
    if (below || chosen(node.function)) kept.push_back(std::move(node));
  }
  roots = std::move(kept);
  return !roots.empty();
}

namespace {

// The lines of `nodes` and everything below them, one level of the tree at a time on a stack
// of its own, so no depth of tree runs the program out of stack.
void AppendTree(std::string& text, std::span<const TreeNode> nodes) {
  struct Level {
    std::span<const TreeNode> nodes;
    size_t next = 0;
    size_t indent_before = 0;  // the length of `indent` before this level's segment
  };
  std::vector<Level> levels{{nodes, 0, 0}};
  std::string indent;
  while (!levels.empty()) {
    Level& level = levels.back();
    if (level.next == level.nodes.size()) {
      indent.resize(level.indent_before);
      levels.pop_back();
      continue;
    }
    const TreeNode& node = level.nodes[level.next++];
    const bool last = level.next == level.nodes.size();
    text += indent;
    text += last ? "└─ " : "├─ ";
    text += node.function.text;
    if (node.driver) {
      text += node.driver->empty() ? "  [ドライバなし]" : "  [" + *node.driver + "]";
    }
    text += '\n';
    if (!node.children.empty()) {
      const size_t before = indent.size();
      indent += last ? "   " : "│  ";
      levels.push_back({node.children, 0, before});
    }
  }
}

}  // namespace

std::string HostBridgeText(int domain, bool with_domain) {
  return with_domain ? "ホストブリッジ (ドメイン " + DomainText(domain) + ")" : "ホストブリッジ";
}

std::string BusTreeText(const std::vector<TreeNode>& roots) {
  const bool with_domains = std::any_of(roots.begin(), roots.end(), [](const TreeNode& node) {
    return node.function.at.domain != 0;
  });
  if (!with_domains) {
    std::string text = HostBridgeText(0, false) + "\n";
    AppendTree(text, roots);
    return text;
  }
  // Each domain has host bridges of its own: one tree per domain.
  std::string text;
  const std::span<const TreeNode> all(roots);
  for (size_t first = 0; first < roots.size();) {
    const int domain = roots[first].function.at.domain;
    size_t end = first;
    while (end < roots.size() && roots[end].function.at.domain == domain) ++end;
    text += HostBridgeText(domain, true) + "\n";
    AppendTree(text, all.subspan(first, end - first));
    first = end;
  }
  return text;
}

Json BusTreeJson(const std::vector<TreeNode>& roots) {
  // As AppendTree, a level at a time: a level's array, once complete, becomes the "children"
  // of the last object of the level above.
  struct Level {
    std::span<const TreeNode> nodes;
    size_t next = 0;
    Json array = Json::array();
  };
  std::vector<Level> levels;
  levels.push_back({roots, 0, Json::array()});
  while (true) {
    Level& level = levels.back();
    if (level.next == level.nodes.size()) {
      Json finished = std::move(level.array);
      levels.pop_back();
      if (levels.empty()) return finished;
      levels.back().array.back()["children"] = std::move(finished);
      continue;
    }
    const TreeNode& node = level.nodes[level.next++];
    Json object = ListedFunctionJson(node.function);
    object["driver"] = node.driver ? Json(*node.driver) : Json();
    object["children"] = Json::array();
    level.array.push_back(std::move(object));
    if (!node.children.empty()) levels.push_back({node.children, 0, Json::array()});
  }
}

}  // namespace kelvox::cli

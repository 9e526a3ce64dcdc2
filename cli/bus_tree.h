// The present functions as a tree: each function under the bridge it hangs from. The bridge is
// the one the operating system names (the `parent` fact) where it is known; otherwise the
// PCI-PCI or CardBus bridge whose secondary bus number is the function's bus. A function with
// neither hangs from the host bridge, at the top.
//
// Only a PCI-PCI or CardBus bridge (header layout 1 or 2) of the function's own domain is a
// parent. A bridge's secondary bus counts only when it is above the bridge's own bus, as PCI
// numbers them: a bridge whose register reads 0 (the Windows device manager gives no bus
// numbers; port I/O shows a bridge the firmware left unassigned) is the parent of no bus.
// Whatever the facts say, the tree has no loop and is drawn at most kMaxTreeDepth levels deep.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/function_list.h"
#include "config/access.h"

namespace kelvox::cli {

// The deepest level a function is drawn at (the top-level functions are level 1). A domain has
// 256 bus numbers and each bridge's secondary bus is above its own, so no real hierarchy is
// deeper; a function the facts put deeper is drawn at this level, beside the others there,
// under the bridge above it at the level before.
inline constexpr size_t kMaxTreeDepth = 256;

struct TreeNode {
  ListedFunction function;
  std::optional<std::string> driver;  // the bound driver ("" none), nothing when not known
  std::vector<TreeNode> children;     // in bus, device, function order
};

// The tree of `present` (in domain, bus, device, function order) read through `access`: its
// top-level nodes, in order. A function hangs only from a bridge of its own domain. Addresses
// are written with their domain when `with_domains`, or when a function is outside 0000.
std::vector<TreeNode> BuildBusTree(ConfigAccess& access,
                                   const std::vector<FunctionLocation>& present,
                                   bool with_domains = false);

// Keeps of the tree only the functions `chosen` accepts and the bridges above them, so the
// tree still shows where each chosen function hangs. False when nothing is left.
bool KeepChosen(std::vector<TreeNode>& roots,
                const std::function<bool(const ListedFunction&)>& chosen);

// The tree as text: one line per function, its list line (function_list.h) and the driver
// ("  [virtio-pci]", "  [ドライバなし]" when none is bound, nothing when not known), drawn
// under its bridge with "├─ " / "└─ " and "│  " as `tree` draws folders, below "ホストブリッジ";
// with functions outside domain 0000, one such tree per domain, each below
// "ホストブリッジ (ドメイン DDDD)". The text is as the tree holds it: the command escapes it
// where it is printed.
std::string BusTreeText(const std::vector<TreeNode>& roots);

// The line a domain's tree starts with: "ホストブリッジ", or with `with_domain`
// "ホストブリッジ (ドメイン DDDD)".
std::string HostBridgeText(int domain, bool with_domain);

// The tree as a JSON array: each node the list's object plus "driver" (string or null) and
// "children".
Json BusTreeJson(const std::vector<TreeNode>& roots);

}  // namespace kelvox::cli

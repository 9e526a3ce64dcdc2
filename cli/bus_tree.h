// The present functions as a tree: each function under the bridge it hangs from. The bridge is
// the one the operating system names (the `parent` fact) where it is known; otherwise the
// PCI-PCI or CardBus bridge whose secondary bus number is the function's bus. A function with
// neither hangs from the host bridge, at the top.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/function_list.h"
#include "config/access.h"

namespace kelvox::cli {

struct TreeNode {
  ListedFunction function;
  std::optional<std::string> driver;  // the bound driver ("" none), nothing when not known
  std::vector<TreeNode> children;     // in bus, device, function order
};

// The tree of `present` (in domain, bus, device, function order) read through `access`: its
// top-level nodes, in order. A function hangs only from a bridge of its own domain.
std::vector<TreeNode> BuildBusTree(ConfigAccess& access,
                                   const std::vector<FunctionLocation>& present);

// The tree as text: one line per function, its list line (function_list.h) and the driver
// ("  [virtio-pci]", "  [ドライバなし]" when none is bound, nothing when not known), drawn
// under its bridge with "├─ " / "└─ " and "│  " as `tree` draws folders, below "ホストブリッジ";
// with functions outside domain 0000, one such tree per domain, each below
// "ホストブリッジ (ドメイン DDDD)".
std::string BusTreeText(const std::vector<TreeNode>& roots);

// The tree as a JSON array: each node the list's object plus "driver" (string or null) and
// "children".
Json BusTreeJson(const std::vector<TreeNode>& roots);

}  // namespace kelvox::cli

// The main dialog's "PCIドメイン" submenu: one radio item per PCI domain of the source, shown
// only when there is more than one. Knows no widgets; the dialog builds the submenu from
// Items() and hands the chosen command back to Domain().
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvox {

// The submenu's title.
inline constexpr char kDomainMenuTitle[] = "PCIドメイン";

// The commands of the domain items, outside the about item's block (16 to 31) and the ID
// list items (0x30, 0x40): one per domain, in order, at most kMaxDomainItems of them.
inline constexpr int kFirstDomainCommand = 0x100;
inline constexpr int kMaxDomainItems = 256;

struct DomainMenuItem {
  int command;
  std::string text;  // the domain as lspci writes it: "0000", "c0e3", "10000"
  bool checked;
};

// The items for the source's `domains` (ascending) with `selected` checked; none when there is
// only one domain, so a machine with one domain sees no change. Past kMaxDomainItems the
// lowest domains are offered.
std::vector<DomainMenuItem> DomainMenuItems(const std::vector<int>& domains, int selected);

// The domain a command of those items stands for; nothing for any other command.
std::optional<int> DomainOfCommand(const std::vector<int>& domains, int command);

}  // namespace kelvox

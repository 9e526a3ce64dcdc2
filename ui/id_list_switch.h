// The window's choice of PCI ID list: the embedded list of 2005, or one other list (the one
// --ids named, else the distribution's), switched from the main dialog's context menu while the
// program runs. Holds both lists for the program's lifetime, so names looked up from either
// stay valid after a switch. Knows no widgets; the dialog builds its menu from MenuItems().
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "iddb/ids_choice.h"
#include "iddb/pci_id_list.h"

namespace kelvox {

// The context menu's list commands, outside the about item's block (16 to 31).
inline constexpr int kEmbeddedIdListCommand = 0x30;
inline constexpr int kOtherIdListCommand = 0x40;

struct IdListMenuItem {
  int command;
  std::string text;
  bool enabled;
  bool checked;
};

class IdListSwitch {
 public:
  explicit IdListSwitch(std::span<const std::string_view> system_paths = kSystemIdListPaths)
      : system_paths_(system_paths.begin(), system_paths.end()) {}

  // Chooses the list an --ids value names and puts it in use; on failure keeps the embedded
  // list and returns the one-line message to show.
  std::string Start(std::string_view ids_value);

  // The two radio items: "PCI IDリスト: 内蔵 (2005年)" and the other list, labelled with its
  // version ("PCI IDリスト: システム (2023.04.10)"), greyed when there is none. Looks for the
  // system list the first time it is needed.
  std::vector<IdListMenuItem> MenuItems();

  // Puts the list of a menu command in use; false for other commands.
  bool Choose(int command);

  bool other_in_use() const { return other_in_use_; }

 private:
  // Loads the distribution's list once, when no other list was named.
  void LoadSystemList();

  std::vector<std::string_view> system_paths_;
  std::shared_ptr<const PciIdList> other_;
  bool other_is_system_ = true;
  bool system_looked_up_ = false;
  bool other_in_use_ = false;
};

// Said after the message about a list that cannot be used.
inline constexpr char kIdListFallbackNote[] = "内蔵のPCI IDリスト (2005年) を使います。";

// The process's one switch, which the program and its windows share.
IdListSwitch& IdLists();

// The link label beside the names: `embedded_text` (the window's own) for the embedded list,
// "PCI Vendor and Device List (version X)" for another.
std::string IdListLinkText(const char* embedded_text);

}  // namespace kelvox

#include "ui/id_list_switch.h"

#include "iddb/name_source.h"

namespace kelvox {

std::string IdListSwitch::Start(std::string_view ids_value) {
  if (ids_value == "embedded") {
    UseEmbeddedIdList();
    other_in_use_ = false;
    return {};
  }
  IdsChoice choice = LoadIdsChoice(ids_value, system_paths_);
  // Asked for "system", the system list has been looked for, found or not.
  if (ids_value == "system") system_looked_up_ = true;
  if (!choice.ok()) {
    UseEmbeddedIdList();
    other_in_use_ = false;
    return choice.error;
  }
  other_ = std::move(choice.list);
  other_is_system_ = ids_value == "system";
  system_looked_up_ = true;  // a named file takes the system list's place in the menu
  UseIdList(other_);
  other_in_use_ = true;
  return {};
}

void IdListSwitch::LoadSystemList() {
  if (system_looked_up_) return;
  system_looked_up_ = true;
  IdsChoice choice = LoadIdsChoice("system", system_paths_);
  if (choice.ok()) other_ = std::move(choice.list);
}

std::vector<IdListMenuItem> IdListSwitch::MenuItems() {
  LoadSystemList();
  std::string other = other_is_system_ ? "PCI IDリスト: システム" : "PCI IDリスト: ファイル";
  if (other_) other += " (" + IdListVersionLabel(other_.get()) + ")";
  return {
      {kEmbeddedIdListCommand, "PCI IDリスト: 内蔵 (2005年)", true, !other_in_use_},
      {kOtherIdListCommand, other, other_ != nullptr, other_in_use_},
  };
}

bool IdListSwitch::Choose(int command) {
  if (command == kEmbeddedIdListCommand) {
    UseEmbeddedIdList();
    other_in_use_ = false;
    return true;
  }
  if (command == kOtherIdListCommand) {
    LoadSystemList();
    if (!other_) return false;
    UseIdList(other_);
    other_in_use_ = true;
    return true;
  }
  return false;
}

IdListSwitch& IdLists() {
  static IdListSwitch lists;
  return lists;
}

std::string IdListLinkText(const char* embedded_text) {
  const PciIdList* list = ActiveIdList();
  if (list == nullptr) return embedded_text;
  return "PCI Vendor and Device List (version " + IdListVersionLabel(list) + ")";
}

}  // namespace kelvox

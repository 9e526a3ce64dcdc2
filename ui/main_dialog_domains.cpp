// The main dialog's switch between the PCI domains of its source.
#include "ui/domain_menu.h"
#include "ui/main_dialog.h"

namespace kelvox {

void MainDialog::AppendDomainItems(wxMenu& menu) {
  menu_domains_ = access_->Domains();
  const std::vector<DomainMenuItem> items =
      DomainMenuItems(menu_domains_, access_->SelectedDomain());
  if (items.empty()) return;
  auto* submenu = new wxMenu;
  for (const DomainMenuItem& item : items) {
    submenu->AppendRadioItem(item.command, wxString::FromUTF8(item.text));
  }
  // A radio group starts with its first item checked; check the one shown.
  for (const DomainMenuItem& item : items) {
    if (item.checked) submenu->Check(item.command, true);
  }
  menu.AppendSeparator();
  menu.AppendSubMenu(submenu, wxString::FromUTF8(kDomainMenuTitle));
}

bool MainDialog::SwitchDomain(int command) {
  const std::optional<int> domain = DomainOfCommand(menu_domains_, command);
  if (!domain) return false;
  ShowDomain(*domain);
  return true;
}

bool MainDialog::ShowDomain(int domain) {
  if (!access_->SelectDomain(domain)) return false;
  Rescan();
  return true;
}

}  // namespace kelvox

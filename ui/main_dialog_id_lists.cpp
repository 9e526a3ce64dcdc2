// The main dialog's switch between the embedded PCI ID list and the other one.
#include "ui/id_list_switch.h"
#include "ui/main_dialog.h"
#include "ui/search_window.h"

namespace kelvox {

void MainDialog::AppendIdListItems(wxMenu& menu) {
  const std::vector<IdListMenuItem> items = IdLists().MenuItems();
  for (const IdListMenuItem& item : items) {
    menu.AppendRadioItem(item.command, wxString::FromUTF8(item.text));
    menu.Enable(item.command, item.enabled);
  }
  // A radio group starts with its first item checked; check the one in use.
  for (const IdListMenuItem& item : items) {
    if (item.checked) menu.Check(item.command, true);
  }
}

bool MainDialog::SwitchIdList(int command) {
  if (!IdLists().Choose(command)) return false;
  if (auto* search = dynamic_cast<CFindVendorDeviceName*>(search_window_)) search->RerunLookups();
  return true;
}

}  // namespace kelvox

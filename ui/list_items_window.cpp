#include "ui/list_items_window.h"

namespace kelvox {

wxWindow* ListItemsWindow(wxListCtrl* list) {
  wxWindow* items = list;
  for (wxWindow* child : list->GetChildren()) {
    if (items == list || child->GetPosition().y > items->GetPosition().y) items = child;
  }
  return items;
}

}  // namespace kelvox

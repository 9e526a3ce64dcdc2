#include "ui/search_window_opener.h"

#include "ui/message_box.h"

namespace kelvox {

void OpenSearchWindow(wxWindow*& slot, wxWindow* parent, const SearchWindowFactory& create,
                      const SearchWindowPlacer& place) {
  if (slot == nullptr) {
    wxWindow* window = create(parent);
    if (window == nullptr) {
      ShowLastErrorBox();
      return;
    }
    window->Move(place(window->GetSize()));
    slot = window;
  }
  if (!slot->IsShown()) slot->Show();
}

}  // namespace kelvox

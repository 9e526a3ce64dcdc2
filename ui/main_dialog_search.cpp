// The main dialog's way into the vendor search window.
#include "ui/main_dialog.h"
#include "ui/search_window.h"
#include "ui/search_window_opener.h"

namespace kelvox {

void MainDialog::ShowSearchWindow() {
  OpenSearchWindow(
      search_window_, this,
      [](wxWindow* parent) -> wxWindow* { return CFindVendorDeviceName::CreateFor(parent); },
      [this](const wxSize& size) { return PlaceSearchWindow(size); });
}

}  // namespace kelvox

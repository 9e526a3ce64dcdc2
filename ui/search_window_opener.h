// The main dialog's "PCIベンダー検索" button: the search window is created on the first press,
// placed beside the main dialog and kept; every press shows it when it is hidden.
#pragma once

#include <wx/gdicmn.h>
#include <wx/window.h>

#include <functional>

namespace kelvox {

// Makes a search window with `parent` as its parent, or returns null when it cannot.
using SearchWindowFactory = std::function<wxWindow*(wxWindow* parent)>;

// Where a window of the given size goes when it is first created (screen pixels).
using SearchWindowPlacer = std::function<wxPoint(const wxSize& size)>;

// With `slot` empty, creates the window with `create`, moves it (keeping its size) to
// `place(size)` and keeps it in `slot`; when creation fails, shows the error box for the last
// system error and leaves `slot` empty. Then shows the window in `slot` if it is hidden; a
// visible one is left as it is.
void OpenSearchWindow(wxWindow*& slot, wxWindow* parent, const SearchWindowFactory& create,
                      const SearchWindowPlacer& place);

}  // namespace kelvox

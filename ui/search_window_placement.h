// Where the vendor search window appears when it is first opened: beside the main window,
// wholly on the screen.
#pragma once

#include <wx/gdicmn.h>

namespace kelvox {

// Gap in pixels between the main window and the search window beside it.
inline constexpr int kSearchWindowGap = 8;

// Top-left corner for a window of `size` beside `main` (both outer frames, in screen pixels)
// within the usable screen area `screen`: to the right of the main window when it fits there,
// else to its left, top edges aligned; when neither side has room, on the roomier side moved
// back onto the screen. The window is always kept inside `screen`, and a window larger than the
// screen keeps its top-left corner (and so its title bar) visible.
wxPoint PlaceBesideMainWindow(const wxRect& main, const wxSize& size, const wxRect& screen,
                              int gap = kSearchWindowGap);

}  // namespace kelvox

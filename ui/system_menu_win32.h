// Windows: the about item of the main dialog in the window's real system menu, after a
// separator, with command 16 (the other platforms carry it in a context menu instead).
#pragma once

#ifdef __WXMSW__

#include <wx/defs.h>

namespace kelvox {

// Appends a separator and the about item (string 101) to `window`'s system menu; leaves the
// menu as it is when the item's text is empty. True when the item was added.
bool AppendAboutToSystemMenu(WXHWND window);

// True when `window`'s system menu holds the about item with its text.
bool SystemMenuHasAboutItem(WXHWND window);

}  // namespace kelvox

#endif  // __WXMSW__

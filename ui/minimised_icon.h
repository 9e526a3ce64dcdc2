// Where the main dialog draws its icon while it is minimised: centred in the client rectangle,
// rounding as the window system's own dialogs do.
#pragma once

#include <wx/gdicmn.h>

namespace kelvox {

// The icon's top-left corner: ((width - icon width + 1) / 2, (height - icon height + 1) / 2),
// with integer division.
wxPoint MinimisedIconOrigin(const wxSize& client, const wxSize& icon);

}  // namespace kelvox

// Timing the start-up as a person sees it: the moment a window is first painted, with what it
// shows ready, rather than when the program next falls idle. GTK's own transitions (a focus
// ring fading in as the window becomes active) keep repainting for a fifth of a second after
// the window is on screen, and a program is not idle before they end, though nobody waits for
// them.
#pragma once

#include <wx/window.h>

#include <functional>
#include <optional>

namespace kelvox {

// Calls `report` once, soon after `window` is first painted, with the milliseconds from the
// process's start to the start of that paint (nothing where the process's start is unknown).
void WhenFirstPainted(wxWindow* window, std::function<void(std::optional<double>)> report);

}  // namespace kelvox

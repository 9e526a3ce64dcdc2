// The system beep, behind a seam so tests can count beeps instead of hearing them.
#pragma once

#include <functional>

namespace kelvox {

// Sounds the beep through the installed handler (wxBell unless replaced).
void RingBell();

// Installs a handler (an empty one restores wxBell); returns the one it replaces.
std::function<void()> SetBellHandler(std::function<void()> handler);

}  // namespace kelvox

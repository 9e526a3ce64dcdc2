// The application icon (resource 128): a small PCI card, drawn for this program, at 32 and 16
// pixels. The same picture is installed as ui/data/kelvox.png for the desktop entry.
#pragma once

#include <wx/icon.h>
#include <wx/iconbndl.h>

namespace kelvox {

// The 32-pixel icon.
wxIcon AppIcon();

// Both sizes, for a window's large and small icon.
wxIconBundle AppIcons();

}  // namespace kelvox

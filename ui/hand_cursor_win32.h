// Windows: the link's hand cursor from the help viewer (winhlp32.exe, cursor 106), as the
// system's own help links show it. The caller caches what this gives for the whole process.
#pragma once

#ifdef __WXMSW__

#include <wx/cursor.h>

#include <optional>

namespace kelvox {

// Loads winhlp32.exe as a library, copies its cursor 106 (the copy outlives the module, which
// is released at once) and returns the copy; nothing when the module or the cursor is missing.
// The copy is never destroyed: it serves every link until the process ends.
std::optional<wxCursor> LoadHelpViewerHandCursor();

}  // namespace kelvox

#endif  // __WXMSW__

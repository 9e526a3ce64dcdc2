#ifdef __WXMSW__

#include "ui/hand_cursor_win32.h"

#include <wx/msw/wrapwin.h>

namespace kelvox {

std::optional<wxCursor> LoadHelpViewerHandCursor() {
  HMODULE viewer = LoadLibraryA("winhlp32.exe");
  if (viewer == nullptr) return std::nullopt;
  HCURSOR copy = nullptr;
  if (HCURSOR hand = LoadCursorA(viewer, MAKEINTRESOURCEA(106))) {
    copy = static_cast<HCURSOR>(CopyIcon(static_cast<HICON>(hand)));
  }
  FreeLibrary(viewer);
  if (copy == nullptr) return std::nullopt;
  // A cursor made from a handle does not own it, so the copy stays for the process.
  wxCursor cursor;
  cursor.SetHCURSOR(reinterpret_cast<WXHCURSOR>(copy));
  return cursor;
}

}  // namespace kelvox

#endif  // __WXMSW__

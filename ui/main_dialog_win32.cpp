// Windows: the main dialog's own handling of three window messages. A system command 16 to 31
// (the about item; Windows keeps the low four bits of a system command for itself) opens the
// about box; while minimised the dialog paints its icon centred; and the icon is the one shown
// when the minimised window is dragged.
#ifdef __WXMSW__

#include <wx/msw/wrapwin.h>

#include "ui/about_menu.h"
#include "ui/main_dialog.h"
#include "ui/minimised_icon.h"

namespace kelvox {

WXLRESULT MainDialog::MSWWindowProc(WXUINT message, WXWPARAM wparam, WXLPARAM lparam) {
  HWND window = static_cast<HWND>(GetHWND());
  switch (message) {
    case WM_SYSCOMMAND:
      if (OpensAboutBox(static_cast<int>(wparam & 0xFFFF))) {
        ShowAboutBox();
        return 0;
      }
      break;
    case WM_PAINT:
      if (IsIconic(window) && icon_.IsOk()) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client;
        ::GetClientRect(window, &client);
        const wxPoint at =
            MinimisedIconOrigin({client.right - client.left, client.bottom - client.top},
                                {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)});
        DrawIcon(dc, at.x, at.y, static_cast<HICON>(icon_.GetHICON()));
        EndPaint(window, &paint);
        return 0;
      }
      break;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<WXLRESULT>(icon_.GetHICON());
    default:
      break;
  }
  return wxDialog::MSWWindowProc(message, wparam, lparam);
}

}  // namespace kelvox

#endif  // __WXMSW__

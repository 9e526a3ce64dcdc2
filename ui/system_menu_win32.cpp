#ifdef __WXMSW__

#include "ui/system_menu_win32.h"

#include <wx/msw/wrapwin.h>
#include <wx/string.h>

#include "ui/about_menu.h"
#include "ui/texts.h"

namespace kelvox {

bool AppendAboutToSystemMenu(WXHWND window) {
  const std::optional<MenuItemSpec> item = AboutMenuItem(texts::kAboutMenuItem);
  if (!item) return false;
  HMENU menu = GetSystemMenu(static_cast<HWND>(window), FALSE);
  if (menu == nullptr) return false;
  const wxString text = wxString::FromUTF8(item->text);
  return AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) &&
         AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item->command), text.wc_str());
}

bool SystemMenuHasAboutItem(WXHWND window) {
  HMENU menu = GetSystemMenu(static_cast<HWND>(window), FALSE);
  if (menu == nullptr) return false;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (GetMenuItemID(menu, i) != static_cast<UINT>(kAboutCommand)) continue;
    wchar_t text[128] = {};
    GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    // The item sits right after a separator.
    const bool after_separator = i > 0 && (GetMenuState(menu, i - 1, MF_BYPOSITION) & MF_SEPARATOR);
    return after_separator && wxString(text) == wxString::FromUTF8(texts::kAboutMenuItem);
  }
  return false;
}

}  // namespace kelvox

#endif  // __WXMSW__

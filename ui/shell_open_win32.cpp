#ifdef __WXMSW__

#include "ui/shell_open_win32.h"

#include <wx/msw/wrapwin.h>

// After windows.h, whose declarations it needs.
#include <shellapi.h>

namespace kelvox {

std::optional<std::string> InCodePage(const wxString& text, unsigned code_page) {
  const std::wstring wide = text.ToStdWstring();
  if (wide.empty()) return std::string();
  BOOL used_default = FALSE;
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                         nullptr, 0, nullptr, &used_default);
  if (length <= 0 || used_default) return std::nullopt;
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length,
                      nullptr, &used_default);
  if (used_default) return std::nullopt;
  return bytes;
}

bool ShellOpen(const wxString& target) {
  HINSTANCE result;
  if (const std::optional<std::string> ansi = InCodePage(target, GetACP())) {
    result = ShellExecuteA(nullptr, "open", ansi->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  } else {
    result = ShellExecuteW(nullptr, L"open", target.wc_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace kelvox

#endif  // __WXMSW__

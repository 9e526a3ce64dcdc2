// Windows: opening a link target with the shell's "open" verb. A target goes to the shell in the
// ANSI code page, byte for byte, when that code page holds it (the mail subject of the about
// box is then passed unescaped in CP932 on a Japanese system); a target the code page cannot
// hold goes through the shell's Unicode entry instead, unchanged.
#pragma once

#ifdef __WXMSW__

#include <wx/string.h>

#include <optional>
#include <string>

namespace kelvox {

// `text` in code page `code_page`, or nothing when some character has no form there.
std::optional<std::string> InCodePage(const wxString& text, unsigned code_page);

// ShellExecute(no owner, "open", target, no parameters, no folder, SW_SHOWNORMAL); true when
// the shell's result is above 32.
bool ShellOpen(const wxString& target);

}  // namespace kelvox

#endif  // __WXMSW__

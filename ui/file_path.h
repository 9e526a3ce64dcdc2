// Paths between wx's strings and the bytes the program's file calls take: the bytes the
// system gave on POSIX (whatever their encoding), the ANSI code page on Windows, where the
// files are opened with the narrow calls.
#pragma once

#include <wx/string.h>

#include <string>

namespace kelvox {

inline std::string PathBytes(const wxString& path) {
#ifdef __WXMSW__
  return std::string(path.mb_str(wxConvLibc));
#else
  return std::string(path.fn_str());
#endif
}

inline wxString PathText(const std::string& bytes) {
#ifdef __WXMSW__
  return wxString(bytes.c_str(), wxConvLibc);
#else
  return wxString(bytes.c_str(), *wxConvFileName);
#endif
}

}  // namespace kelvox

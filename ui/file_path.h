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

// The last part of a path, for titles ('\\' ends a folder too, as on Windows).
inline std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kelvox

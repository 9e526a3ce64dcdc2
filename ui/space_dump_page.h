// The details sheet's "16進ダンプ" page: the readable bytes of the function's configuration
// space as lspci -xxx and -xxxx dump them, in a fixed-width font, read-only and selectable;
// where the bytes stop short of the function's space, a line above them says why.
#pragma once

#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <string>

#include "caps/config_space.h"

namespace kelvox {

class SpaceDumpPage : public wxPanel {
 public:
  SpaceDumpPage(wxWindow* parent, const ConfigSpace& space);

  wxTextCtrl& dump() const { return *dump_; }
  // The line above the dump, or null when there is none.
  wxStaticText* reason_line() const { return reason_; }

 private:
  wxStaticText* reason_ = nullptr;
  wxTextCtrl* dump_ = nullptr;

  wxDECLARE_CLASS(SpaceDumpPage);
};

}  // namespace kelvox

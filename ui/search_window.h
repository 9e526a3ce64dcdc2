// CFindVendorDeviceName, the vendor and device search window "ベンダ情報検索": a modeless
// window beside the main dialog in which the user types a vendor ID, a device ID or a class
// code in hexadecimal and sees the names from the PCI ID tables while typing. Its rules live
// in SearchForm; this class only binds the widgets to it.
#pragma once

#include <wx/dialog.h>
#include <wx/textctrl.h>

#include "search/search_form.h"
#include "ui/dialog_template.h"
#include "ui/static_link.h"

namespace kelvox {

class CFindVendorDeviceName : public wxDialog {
 public:
  // An object without a window yet; Create makes the window.
  CFindVendorDeviceName() = default;

  // Makes the window, hidden, from its template with `parent` (the main dialog) as parent,
  // sized to the template; false when the window could not be made.
  bool Create(wxWindow* parent);

  // A new search window for `parent`, or null when it could not be made.
  static CFindVendorDeviceName* CreateFor(wxWindow* parent);

  const SearchForm& form() const { return form_; }
  // A control of the template by id, or null.
  wxWindow* control(int id) const { return controls_.Find(id); }
  // An edit (typed or read-only name field) by id, or null.
  wxTextCtrl* edit(int id) const { return controls_.Get<wxTextCtrl>(id); }
  const CStaticLink& link() const { return link_; }

  // Looks up every name again, as if what the fields hold had just been typed, and relabels
  // the link: for when the PCI ID list in use changes.
  void RerunLookups();

 private:
  void InitControls();
  void OnVendorIdText(wxCommandEvent& event);
  void OnDeviceIdText(wxCommandEvent& event);
  void OnClassCodeText(wxCommandEvent& event);
  void OnQuit(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  // Copies every field's text into the form, runs `handler` on it and writes back what it
  // changed, without raising further change events.
  void RunHandler(void (SearchForm::*handler)());
  void CopyFieldsIn();
  void CopyFieldsOut();

  SearchForm form_;
  DialogControls controls_;
  CStaticLink link_;
};

}  // namespace kelvox

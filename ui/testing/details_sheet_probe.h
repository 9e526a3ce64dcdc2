// A test aid for the modal details sheet: while a probe lives, every sheet that is shown is
// read (caption, parent, tabs, the text of every field as its edit control shows it) and then
// closed, so a test that opens sheets cannot hang. Header only.
#pragma once

#include <wx/bookctrl.h>
#include <wx/textctrl.h>

#include <functional>
#include <map>
#include <vector>

#include "ui/base_addr_page.h"
#include "ui/details_sheet.h"
#include "ui/misc_regs_page.h"
#include "ui/system_info_page.h"
#include "ui/vendor_device_info_page.h"

namespace kelvox::testing {

// A reading of a function that holds the four original pages' texts only (no bytes past them).
inline FunctionRead PagesOnly(const DeviceDetails& details) {
  FunctionRead read;
  read.details = details;
  return read;
}

// What one shown sheet displayed.
struct SheetView {
  wxString caption;
  wxWindow* parent = nullptr;
  std::vector<wxString> tabs;
  int selected_tab = -1;
  std::vector<wxString> page_classes;  // run-time class name of each page, in tab order
  std::map<int, wxString> vendor, base_address, misc;  // control id -> text shown
  std::map<int, wxString> system;                      // only the fields shown
  bool system_notice_shown = false;                    // the "no facts" line in place of the fields

  // Every field of the three register pages as one list, for "all fields" checks.
  std::vector<wxString> AllFields() const {
    std::vector<wxString> all;
    for (const auto* page : {&vendor, &base_address, &misc}) {
      for (const auto& [id, text] : *page) all.push_back(text);
    }
    return all;
  }
};

// The text of every edit control on a page, by id.
inline std::map<int, wxString> ShownTexts(const DetailsPage& page) {
  std::map<int, wxString> texts;
  for (wxWindow* control : page.GetChildren()) {
    if (auto* edit = dynamic_cast<wxTextCtrl*>(control)) texts[edit->GetId()] = edit->GetValue();
  }
  return texts;
}

class DetailsSheetProbe {
 public:
  // `while_shown` runs after the sheet is read and before it closes (return false from it to
  // leave the closing to the test, which must then end the sheet itself).
  explicit DetailsSheetProbe(std::function<bool(DetailsSheet&)> while_shown = {})
      : while_shown_(std::move(while_shown)) {
    previous_ = DetailsSheet::SetShownHook([this](DetailsSheet& sheet) { OnShown(sheet); });
  }
  ~DetailsSheetProbe() { DetailsSheet::SetShownHook(previous_); }
  DetailsSheetProbe(const DetailsSheetProbe&) = delete;
  DetailsSheetProbe& operator=(const DetailsSheetProbe&) = delete;

  const std::vector<SheetView>& shown() const { return shown_; }

 private:
  void OnShown(DetailsSheet& sheet) {
    SheetView view;
    view.caption = sheet.GetTitle();
    view.parent = sheet.GetParent();
    wxBookCtrlBase* book = sheet.GetBookCtrl();
    for (size_t i = 0; i < book->GetPageCount(); ++i) {
      view.tabs.push_back(book->GetPageText(i));
      view.page_classes.push_back(book->GetPage(i)->GetClassInfo()->GetClassName());
    }
    view.selected_tab = book->GetSelection();
    view.vendor = ShownTexts(sheet.vendor_page());
    view.base_address = ShownTexts(sheet.base_address_page());
    view.misc = ShownTexts(sheet.misc_page());
    for (const auto& [id, text] : ShownTexts(sheet.system_page())) {
      if (sheet.system_page().FindWindow(id)->IsShown()) view.system[id] = text;
    }
    if (wxWindow* notice = sheet.system_page().FindWindow(kSystemFactsUnavailableControl)) {
      view.system_notice_shown = notice->IsShown();
    }
    shown_.push_back(view);
    if (!while_shown_ || while_shown_(sheet)) sheet.EndModal(wxID_OK);
  }

  std::function<bool(DetailsSheet&)> while_shown_;
  DetailsSheet::ShownHook previous_;
  std::vector<SheetView> shown_;
};

}  // namespace kelvox::testing

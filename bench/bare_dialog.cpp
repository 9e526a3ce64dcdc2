// The yardstick for the window's start-up: a wx program that shows an empty dialog with a
// 32-row list and nothing else, and prints how long after the process started it was shown, in
// the words `kelvox --measure-startup` uses. The two side by side (scripts/startup-timing.sh)
// say what Kelvox itself adds to what any wx dialog costs.
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>

#include <cstdio>
#include <optional>

#include "ui/startup_clock.h"

namespace {

class BareApp : public wxApp {
 public:
  bool OnInit() override {
    auto* dialog = new wxDialog(nullptr, wxID_ANY, "bare");
    auto* list = new wxListCtrl(dialog, wxID_ANY, wxDefaultPosition, wxSize(600, 400), wxLC_REPORT);
    list->AppendColumn("device");
    for (int row = 0; row < 32; ++row) list->InsertItem(row, wxString::Format("%02d", row));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list, 1, wxEXPAND);
    dialog->SetSizerAndFit(sizer);
    SetTopWindow(dialog);
    dialog->Show();
    dialog->Update();
    dialog->CallAfter([dialog, list] {
      const std::optional<double> ms = kelvox::MillisecondsSinceProcessStart();
      std::printf("bare: %d rows listed and the window shown %.0f ms after the process started\n",
                  list->GetItemCount(), ms.value_or(-1.0));
      dialog->Destroy();
    });
    return true;
  }
};

}  // namespace

wxIMPLEMENT_APP(BareApp);

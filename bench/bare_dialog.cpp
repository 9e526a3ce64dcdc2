// The yardstick for the window's start-up: a wx program that shows a dialog holding only a list
// of what the main window's list holds (the same columns, 32 rows of the same length of text,
// the Japanese class comment among them, in the same font) and prints how long after the
// process started it was shown, in the words `kelvox --measure-startup` uses. The two side by
// side (scripts/startup-timing.sh) say what Kelvox itself adds (reading the bus, the templates,
// the other controls) to what any wx dialog showing that list costs: GTK's drawing of the
// Japanese text is most of either.
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>

#include <cstdio>
#include <optional>

#include "ui/dialog_template.h"
#include "ui/first_paint.h"
#include "ui/list_items_window.h"
#include "ui/main_template.h"
#include "ui/texts.h"

namespace {

class BareApp : public wxApp {
 public:
  bool OnInit() override {
    auto* dialog = new wxDialog(nullptr, wxID_ANY, "bare");
    dialog->SetFont(
        kelvox::TemplateFont(kelvox::texts::kMainFace, kelvox::texts::kMainFallbackFace, 12));
    auto* list = new wxListCtrl(dialog, wxID_ANY, wxDefaultPosition, wxSize(640, 400), wxLC_REPORT);
    long column = 0;
    for (const kelvox::ListColumn& spec : kelvox::MainListColumns()) {
      list->InsertColumn(column++, wxString::FromUTF8(spec.header), wxLIST_FORMAT_LEFT, spec.width);
    }
    // What an empty slot shows, the row every absent device number has.
    const char* const cells[] = {"ffff", "ffff", "ffff", "ffff", "ff", "ffffff", "ff", "？？？？"};
    for (int row = 0; row < 32; ++row) {
      const long item = list->InsertItem(row, wxString::Format("%02d", row));
      for (long cell = 1; cell < column && cell <= 8; ++cell) {
        list->SetItem(item, cell, wxString::FromUTF8(cells[cell - 1]));
      }
    }
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list, 1, wxEXPAND);
    dialog->SetSizerAndFit(sizer);
    SetTopWindow(dialog);
    dialog->Show();
    kelvox::WhenFirstPainted(kelvox::ListItemsWindow(list), [dialog,
                                                             list](std::optional<double> ms) {
      std::printf("bare: %d rows listed and the window shown %.0f ms after the process started\n",
                  list->GetItemCount(), ms.value_or(-1.0));
      dialog->Destroy();
    });
    return true;
  }
};

}  // namespace

wxIMPLEMENT_APP(BareApp);

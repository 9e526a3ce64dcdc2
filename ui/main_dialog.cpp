#include "ui/main_dialog.h"

#include <wx/button.h>
#include <wx/display.h>
#include <wx/menu.h>

#include "scan/bus_scan.h"
#include "ui/about_dialog.h"
#include "ui/about_menu.h"
#include "ui/app_icon.h"
#include "ui/list_items_window.h"
#include "ui/main_template.h"
#include "ui/message_box.h"
#include "ui/search_window_placement.h"
#include "ui/system_menu_win32.h"
#include "ui/texts.h"

namespace kelvox {

namespace {

std::optional<int32_t> FieldValue(const wxTextCtrl* edit) {
  return ParseFieldInteger(edit->GetValue().utf8_string());
}

}  // namespace

MainDialog::MainDialog(ConfigAccess& access, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(texts::kMainTitle), wxDefaultPosition,
               wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxMINIMIZE_BOX),
      access_(&access),
      icon_(AppIcon()) {
  controls_ = ApplyDialogTemplate(this, MainTemplate(), icon_);
  list_ = controls_.Get<wxListCtrl>(main_ids::kList);
  bus_edit_ = controls_.Get<wxTextCtrl>(main_ids::kBusEdit);
  function_edit_ = controls_.Get<wxTextCtrl>(main_ids::kFunctionEdit);
  bus_spin_ = controls_.Get<wxSpinButton>(main_ids::kBusSpin);
  function_spin_ = controls_.Get<wxSpinButton>(main_ids::kFunctionSpin);
  list_items_ = ListItemsWindow(list_);
#ifdef __WXMSW__
  AppendAboutToSystemMenu(GetHWND());
#endif

  SetIcons(AppIcons());
  SetTitle(GetTitle() + wxString::FromUTF8(texts::kMainTitleSuffix));
  CreateColumns();
  bus_spin_->SetRange(kBusRange.min, kBusRange.max);
  function_spin_->SetRange(kFunctionRange.min, kFunctionRange.max);
  form_.Set(0, 0);
  StoreFields();
  Rescan();
  SetTooltips();

  Bind(wxEVT_BUTTON, &MainDialog::OnRescan, this, main_ids::kRescan);
  Bind(wxEVT_BUTTON, &MainDialog::OnQuit, this, main_ids::kQuit);
  Bind(wxEVT_BUTTON, &MainDialog::OnDetails, this, main_ids::kDetails);
  Bind(wxEVT_BUTTON, &MainDialog::OnVendorSearch, this, main_ids::kVendorSearch);
  list_items_->Bind(wxEVT_LEFT_DCLICK, &MainDialog::OnListDoubleClick, this);
  for (wxSpinButton* spin : {bus_spin_, function_spin_}) {
    spin->Bind(wxEVT_SPIN_UP, &MainDialog::OnSpin, this);
    spin->Bind(wxEVT_SPIN_DOWN, &MainDialog::OnSpin, this);
  }
  bus_edit_->Bind(wxEVT_KEY_DOWN, &MainDialog::OnFieldKey, this);
  function_edit_->Bind(wxEVT_KEY_DOWN, &MainDialog::OnFieldKey, this);
  Bind(wxEVT_CHAR_HOOK, &MainDialog::OnCharHook, this);
  Bind(wxEVT_CONTEXT_MENU, &MainDialog::OnContextMenu, this);
  Bind(wxEVT_MENU, &MainDialog::OnMenuCommand, this);
  Bind(wxEVT_CLOSE_WINDOW, &MainDialog::OnClose, this);

  bus_edit_->SetFocus();
}

MainDialog::MainDialog(std::unique_ptr<ConfigAccess> access, wxWindow* parent)
    : MainDialog(*access, parent) {
  owned_access_ = std::move(access);
}

MainDialog::~MainDialog() {
  // The topology window reads through this dialog's source: it goes first.
  if (topology_window_) delete topology_window_.get();
}

void MainDialog::CreateColumns() {
  long column = 0;
  for (const ListColumn& spec : MainListColumns()) {
    list_->InsertColumn(column++, wxString::FromUTF8(spec.header), wxLIST_FORMAT_LEFT, spec.width);
  }
}

void MainDialog::SetTooltips() {
  for (wxWindow* control : controls_.InOrder()) {
    if (const char* tip = MainTooltip(control->GetId())) {
      control->SetToolTip(wxString::FromUTF8(tip));
    }
  }
}

bool MainDialog::RetrieveFields() {
  const std::optional<FieldFailure> failure =
      form_.Retrieve(bus_edit_->GetValue().utf8_string(), function_edit_->GetValue().utf8_string());
  if (!failure) return true;
  ShowMessageBox(wxString::FromUTF8(failure->message), wxString::FromUTF8(texts::kAppName),
                 wxOK | wxICON_EXCLAMATION, this);
  wxTextCtrl* field = failure->field == FormField::kBus ? bus_edit_ : function_edit_;
  field->SetFocus();
  field->SelectAll();
  return false;
}

void MainDialog::StoreFields() {
  bus_edit_->ChangeValue(form_.BusText());
  function_edit_->ChangeValue(form_.FunctionText());
  bus_spin_->SetValue(form_.bus());
  function_spin_->SetValue(form_.function());
}

void MainDialog::Rescan() {
  RetrieveFields();
  FillList();
  StoreFields();
}

void MainDialog::FillList() {
  list_->Freeze();
  list_->DeleteAllItems();
  for (const DeviceRow& row : ScanBus(*access_, form_.bus(), form_.function())) {
    const long item = list_->InsertItem(row.device, wxString::FromUTF8(row.columns[0]));
    list_->SetItemData(item, row.device);
    for (int column = 1; column < kListColumns; ++column) {
      list_->SetItem(item, column, wxString::FromUTF8(row.columns[column]));
    }
  }
  list_->Thaw();
}

void MainDialog::OnRescan(wxCommandEvent&) { Rescan(); }

void MainDialog::OnQuit(wxCommandEvent&) { EndWith(1); }

void MainDialog::OnDetails(wxCommandEvent&) {
  const int count = std::min(list_->GetItemCount(), kDevicesPerBus);
  for (int item = 0; item < count; ++item) {
    if (list_->GetItemState(item, wxLIST_STATE_SELECTED) & wxLIST_STATE_SELECTED) {
      if (OpenDetails(item)) {
        list_->SetItemState(item, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
      }
      return;
    }
  }
}

void MainDialog::OnListDoubleClick(wxMouseEvent& event) {
  event.Skip();
  int flags = 0;
  const long item = list_->HitTest(event.GetPosition(), flags);
  if (item == wxNOT_FOUND || !(flags & wxLIST_HITTEST_ONITEM)) return;
  // Opened once the list has finished with the click, so a modal sheet does not run inside
  // the list's own mouse handling.
  CallAfter([this, item] { OpenDetails(static_cast<int>(item)); });
}

void MainDialog::OnVendorSearch(wxCommandEvent&) { ShowSearchWindow(); }

void MainDialog::StepField(wxTextCtrl* edit, wxSpinButton* spin, IntRange range, int delta) {
  const int value = StepFieldNumber(FieldValue(edit), spin->GetValue(), delta, range);
  edit->ChangeValue(std::to_string(value));
  edit->SetInsertionPointEnd();
  spin->SetValue(value);
}

void MainDialog::OnSpin(wxSpinEvent& event) {
  const bool bus = event.GetEventObject() == bus_spin_;
  const int delta = event.GetEventType() == wxEVT_SPIN_UP ? +1 : -1;
  // The up-down steps the number its field shows, not its own position, so the step is made
  // here and the up-down's own change is refused.
  event.Veto();
  CallAfter([this, bus, delta] {
    if (bus) {
      StepField(bus_edit_, bus_spin_, kBusRange, delta);
    } else {
      StepField(function_edit_, function_spin_, kFunctionRange, delta);
    }
  });
}

void MainDialog::OnFieldKey(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key != WXK_UP && key != WXK_DOWN && key != WXK_NUMPAD_UP && key != WXK_NUMPAD_DOWN) {
    event.Skip();
    return;
  }
  const int delta = key == WXK_UP || key == WXK_NUMPAD_UP ? +1 : -1;
  if (event.GetEventObject() == bus_edit_) {
    StepField(bus_edit_, bus_spin_, kBusRange, delta);
  } else {
    StepField(function_edit_, function_spin_, kFunctionRange, delta);
  }
}

void MainDialog::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_ESCAPE) {
    EndWith(wxID_CANCEL);
    return;
  }
  if (key == WXK_MENU || (key == WXK_F10 && event.GetModifiers() == wxMOD_SHIFT)) {
    wxWindow* focus = FindFocus();
    const wxPoint at =
        focus && focus != this ? ScreenToClient(focus->GetScreenPosition()) : wxPoint(0, 0);
    ShowContextMenu(at);
    return;
  }
  // The accelerators the context menu shows work without it.
  if (event.GetModifiers() == wxMOD_CONTROL && (key == 'T' || key == 'O' || key == 'S')) {
    RunWindowCommand(key == 'T'   ? kTopologyCommand
                     : key == 'O' ? kOpenCaptureCommand
                                  : kSaveCaptureCommand);
    return;
  }
  if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
    // A focused button takes Enter as its own press; anywhere else Enter is the dialog's OK,
    // which reads the fields first and closes only when they are valid.
    if (dynamic_cast<wxButton*>(FindFocus()) != nullptr) {
      event.Skip();
      return;
    }
    if (RetrieveFields()) EndWith(wxID_OK);
    return;
  }
  event.Skip();
}

void MainDialog::OnContextMenu(wxContextMenuEvent& event) {
  const wxPoint screen = event.GetPosition();
  ShowContextMenu(screen == wxDefaultPosition ? wxDefaultPosition : ScreenToClient(screen));
}

void MainDialog::ShowContextMenu(const wxPoint& at) {
  wxMenu menu;
  if (const std::optional<MenuItemSpec> item = AboutMenuItem(texts::kAboutMenuItem)) {
    menu.Append(item->command, wxString::FromUTF8(item->text));
    menu.AppendSeparator();
  }
  AppendIdListItems(menu);
  AppendWindowItems(menu);
  AppendDomainItems(menu);
  PopupMenu(&menu, at);
}

void MainDialog::OnMenuCommand(wxCommandEvent& event) {
  if (OpensAboutBox(event.GetId())) {
    ShowAboutBox();
  } else if (!SwitchIdList(event.GetId()) && !SwitchDomain(event.GetId()) &&
             !RunWindowCommand(event.GetId())) {
    event.Skip();
  }
}

void MainDialog::ShowAboutBox() {
  AboutDialog about(this);
  about.ShowModal();
}

void MainDialog::OnClose(wxCloseEvent&) { EndWith(wxID_CANCEL); }

void MainDialog::EndWith(int result) {
  SetReturnCode(result);
  Hide();
  Destroy();
}

wxPoint MainDialog::PlaceSearchWindow(const wxSize& size) const {
  return PlaceBesideMainWindow(GetScreenRect(), size, wxDisplay(this).GetClientArea());
}

}  // namespace kelvox

// The main dialog, "PCIデバイス検索(95/98/Me)": the bus and function number fields with their
// up-down controls, the device list of one bus and function, and the buttons that rescan,
// open the details sheet, open the vendor search window and quit. It is the program's only
// top-level window and is shown modeless (a modal dialog would block typing into the search
// window); closing it ends the program.
#pragma once

#include <wx/dialog.h>
#include <wx/filehistory.h>
#include <wx/icon.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <memory>
#include <string>
#include <vector>

#include "config/access.h"
#include "ui/bus_function_form.h"
#include "ui/dialog_template.h"
#include "ui/topology_window.h"

namespace kelvox {

// The context menu's commands of the topology window and the captures, outside the about
// item's block and the ID lists' (the recent captures are wxID_FILE1 to wxID_FILE9).
inline constexpr int kTopologyCommand = 0x60;
inline constexpr int kOpenCaptureCommand = 0x61;
inline constexpr int kSaveCaptureCommand = 0x62;

class MainDialog : public wxDialog {
 public:
  // Builds the dialog from its template and scans bus 0, function 0 through `access`, which
  // must outlive the dialog.
  explicit MainDialog(ConfigAccess& access, wxWindow* parent = nullptr);
  // The same, keeping the backend for the dialog's lifetime.
  explicit MainDialog(std::unique_ptr<ConfigAccess> access, wxWindow* parent = nullptr);
  ~MainDialog() override;

  ConfigAccess& access() const { return *access_; }
  // The bus and function numbers the dialog holds (the last valid ones entered).
  int bus() const { return form_.bus(); }
  int function() const { return form_.function(); }

  wxListCtrl* list() const { return list_; }
  // The window of the list that draws its rows.
  wxWindow* list_items() const { return list_items_; }
  wxTextCtrl* bus_edit() const { return bus_edit_; }
  wxTextCtrl* function_edit() const { return function_edit_; }
  wxSpinButton* bus_spin() const { return bus_spin_; }
  wxSpinButton* function_spin() const { return function_spin_; }
  // A control of the template by id, or null.
  wxWindow* control(int id) const { return controls_.Find(id); }
  // The search window once it has been opened, else null.
  wxWindow* search_window() const { return search_window_; }

  // Reads and checks the number fields (bus first, then function): on the first failure shows
  // the range message, puts focus on that field and returns false.
  bool RetrieveFields();
  // Writes the numbers held into the fields.
  void StoreFields();
  // The rescan: retrieves the fields (going on whether or not they pass), fills the list with
  // the 32 devices of the bus and function held, and writes the numbers back.
  void Rescan();

  // Opens the details sheet of device `device` (0 to 31) of the bus and function held; true
  // when the sheet was shown.
  bool OpenDetails(int device);
  // Opens the vendor search window, creating it on the first call, or shows it again.
  void ShowSearchWindow();
  // Shows the about box, modal over this dialog.
  void ShowAboutBox();
  // Puts the PCI ID list of a context menu command (kEmbeddedIdListCommand or
  // kOtherIdListCommand) in use and renames what the open search window shows; false for any
  // other command, or a list that is not there (main_dialog_id_lists.cpp).
  bool SwitchIdList(int command);
  // Shows the domain of a "PCIドメイン" submenu command (main_dialog_domains.cpp): selects it
  // and rescans the bus and function held; false for any other command.
  bool SwitchDomain(int command);
  // Selects `domain` and rescans; false, and nothing changes, when the source has no such
  // domain.
  bool ShowDomain(int domain);

  // Opens the "PCIバス構成" window over the bus shown, or brings it to the front
  // (main_dialog_topology.cpp).
  void ShowTopologyWindow();
  TopologyWindow* topology_window() const { return topology_window_.get(); }
  // Shows the captured bus in `path` here and in the topology window (main_dialog_captures.cpp):
  // the dialog rescans the bus and function it holds, in the capture's first domain where it
  // has not the one shown. False, with a message box, when the file cannot be read; nothing
  // changes then.
  bool OpenCapture(const std::string& path);
  // Writes the bus shown to `path` as `kelvox-cli capture` writes it, through the same rules
  // for what may be replaced. False, with a message box, when it cannot be captured or written.
  bool SaveCapture(const std::string& path);
  // Asks for a file with the system's file dialog, then opens or saves it.
  void ChooseCaptureToOpen();
  void ChooseCaptureToSave();
  // The file the bus shown was read from when one was opened from the menu, else "".
  const std::string& capture_file() const { return capture_file_; }
  // The topology, capture and recent-file commands; false for any other.
  bool RunWindowCommand(int command);

  // Ends the dialog with `result` (1 for "終了"): it is hidden and destroyed, which ends the
  // program when it is the last top-level window.
  void EndWith(int result);

 protected:
  // Where the search window goes when it is first created: beside this dialog, on screen.
  virtual wxPoint PlaceSearchWindow(const wxSize& size) const;
#ifdef __WXMSW__
  // The about item of the system menu, the minimised icon and the drag icon
  // (main_dialog_win32.cpp).
  WXLRESULT MSWWindowProc(WXUINT message, WXWPARAM wparam, WXLPARAM lparam) override;
#endif

 private:
  void CreateColumns();
  void FillList();
  void SetTooltips();
  void OnRescan(wxCommandEvent& event);
  void OnQuit(wxCommandEvent& event);
  void OnDetails(wxCommandEvent& event);
  void OnVendorSearch(wxCommandEvent& event);
  void OnListDoubleClick(wxMouseEvent& event);
  void OnSpin(wxSpinEvent& event);
  void OnFieldKey(wxKeyEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnMenuCommand(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  // Steps the number of one field by `delta` within its range, keeping the up-down in step.
  void StepField(wxTextCtrl* edit, wxSpinButton* spin, IntRange range, int delta);
  void ShowContextMenu(const wxPoint& at);
  // Adds the radio items that switch the PCI ID list (main_dialog_id_lists.cpp).
  void AppendIdListItems(wxMenu& menu);
  // Adds the "PCIドメイン" submenu when the source has several domains.
  void AppendDomainItems(wxMenu& menu);
  // Adds the topology window's item, the capture items and the recent captures.
  void AppendWindowItems(wxMenu& menu);
  // The recent captures, read from the configuration on first use.
  wxFileHistory& RecentCaptures();
  void RememberCapture(const std::string& path);

  std::unique_ptr<ConfigAccess> owned_access_;
  ConfigAccess* access_;
  // The file the bus shown was read from when one was opened from the menu, else "".
  std::string capture_file_;
  // The topology window once it has been opened, else null; a child of this dialog.
  wxWeakRef<TopologyWindow> topology_window_;
  // The captures opened and saved, newest first, kept in the program's configuration.
  std::unique_ptr<wxFileHistory> recent_captures_;
  BusFunctionForm form_;
  wxIcon icon_;
  DialogControls controls_;
  wxListCtrl* list_ = nullptr;
  wxTextCtrl* bus_edit_ = nullptr;
  wxTextCtrl* function_edit_ = nullptr;
  wxSpinButton* bus_spin_ = nullptr;
  wxSpinButton* function_spin_ = nullptr;
  wxWindow* list_items_ = nullptr;
  // The modeless vendor search window, created on first use (main_dialog_search.cpp) and
  // destroyed with this dialog as its child.
  wxWindow* search_window_ = nullptr;
  // The domains the last context menu offered, in the order of their commands.
  std::vector<int> menu_domains_;
};

}  // namespace kelvox

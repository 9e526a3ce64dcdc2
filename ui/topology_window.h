// The "PCIバス構成" window: every domain's functions in one tree (as `kelvox-cli tree` draws
// them) with their names, class, driver, link now and at most and the health check's finding,
// a mark on each function with a finding and on every bridge above it, a filter, "更新" (F5)
// and "自動更新", which re-reads every 2 seconds and marks what changed since the window
// opened. Double-click or Enter opens the function's details sheet. Its size and column widths
// are kept in the program's configuration. What it shows comes from topology::TopologyModel.
#pragma once

#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/treelist.h>

#include <set>
#include <string>
#include <vector>

#include "config/access.h"
#include "topology/topology_model.h"

namespace kelvox {

class TopologyWindow : public wxFrame {
 public:
  // The interval of the automatic refresh.
  static constexpr int kAutoRefreshMilliseconds = 2000;

  // Reads the bus of `access` (which must outlive the window, or be replaced with SetAccess
  // first) and shows it; `source_name`, when not empty, is the file the bus was read from,
  // named in the title.
  TopologyWindow(wxWindow* parent, ConfigAccess& access, const std::string& source_name = "");
  ~TopologyWindow() override;

  // Shows another bus (a capture opened from the menu): read afresh, the change marks started
  // over from it.
  void SetAccess(ConfigAccess& access, const std::string& source_name);

  // Reads the bus again, keeping the filter, which bridges are collapsed and the selection.
  void Reload();
  // Shows only the functions the filter keeps (topology::TopologyModel::Matching).
  void ApplyFilter(const std::string& filter);
  // One automatic refresh: the bus read again and compared with its sample at the opening.
  void AutoRefreshTick();
  // Opens the details sheet of the function a row shows; false for a row without one.
  bool OpenDetails(const wxTreeListItem& item);

  const topology::TopologyModel& model() const { return model_; }
  wxTreeListCtrl* tree() const { return tree_; }
  wxTextCtrl* filter() const { return filter_; }
  wxCheckBox* auto_refresh() const { return auto_refresh_; }
  wxStaticText* status() const { return status_; }
  const wxTimer& timer() const { return timer_; }
  // The tree's item of a function's address, or an invalid item when it is not shown.
  wxTreeListItem ItemOf(const std::string& address) const;
  // The row of the model an item shows, -1 for a domain's host bridge line.
  int RowOf(const wxTreeListItem& item) const;
  // The finding text a row's tooltip and its finding column give ("" for none).
  wxString TooltipOf(const wxTreeListItem& item) const;

 private:
  void BuildControls();
  // Reads the bus again, as Reload does; with `mark_changes`, marks what changed since the
  // window opened too.
  void ReadAgain(bool mark_changes);
  void Fill();
  void SaveLayout() const;
  void RestoreLayout();
  void UpdateStatus(size_t shown);
  void OnActivated(wxTreeListEvent& event);
  void OnSelection(wxTreeListEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnMotion(wxMouseEvent& event);
  // Puts `tip` on the tree (none for ""), unless it is there already.
  void ShowTooltip(const wxString& tip);
  void OnTimer(wxTimerEvent& event);
  void OnAutoRefresh(wxCommandEvent& event);

  ConfigAccess* access_;
  topology::TopologyModel model_;
  std::string filter_text_;
  wxTextCtrl* filter_ = nullptr;
  wxCheckBox* auto_refresh_ = nullptr;
  wxTreeListCtrl* tree_ = nullptr;
  wxStaticText* status_ = nullptr;
  wxTimer timer_;
  // The item of each row shown (invalid for those filtered out).
  std::vector<wxTreeListItem> items_;
  // The addresses of the bridges a person collapsed, kept over a refresh.
  std::set<std::string> collapsed_;
  wxString tooltip_shown_;
};

// The title of the window: "PCIバス構成", with " - FILE" for a bus read from a file.
wxString TopologyTitle(const std::string& source_name);

}  // namespace kelvox

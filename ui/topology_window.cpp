#include "ui/topology_window.h"

#include <wx/button.h>
#include <wx/config.h>
#include <wx/dataview.h>
#include <wx/imaglist.h>
#include <wx/log.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "cli/bus_tree.h"
#include "ui/app_icon.h"
#include "ui/details_opener.h"
#include "ui/file_path.h"
#include "ui/texts.h"
#include "ui/topology_marks.h"

namespace kelvox {

namespace {

wxString U(const std::string& utf8) { return wxString::FromUTF8(utf8); }
wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

enum Column : unsigned {
  kAddressColumn,
  kIdsColumn,
  kNamesColumn,
  kClassColumn,
  kDriverColumn,
  kLinkNowColumn,
  kLinkMaxColumn,
  kFindingColumn,
  kColumnCount
};

struct ColumnSpec {
  const char* title;
  int width;
};

constexpr ColumnSpec kColumns[kColumnCount] = {
    {texts::kColumnAddress, 230}, {texts::kColumnIds, 80},      {texts::kColumnNames, 210},
    {texts::kColumnClass, 140},   {texts::kColumnDriver, 95},   {texts::kColumnLinkNow, 90},
    {texts::kColumnLinkMax, 90},  {texts::kColumnFinding, 420},
};

// The row a tree item shows, as its client data.
class RowData : public wxClientData {
 public:
  explicit RowData(int row) : row_(row) {}
  int row() const { return row_; }

 private:
  int row_;
};

constexpr char kConfigGroup[] = "/Topology/";

// The first line of a text.
wxString FirstLine(const std::string& text) { return U(text.substr(0, text.find('\n'))); }

wxString Replace(const char* pattern, const wxString& value) {
  wxString text = U(pattern);
  text.Replace("%1", value);
  return text;
}

}  // namespace

wxString TopologyTitle(const std::string& source_name) {
  wxString title = U(texts::kTopologyTitle);
  if (!source_name.empty()) title += " - " + PathText(source_name);
  return title;
}

TopologyWindow::TopologyWindow(wxWindow* parent, ConfigAccess& access,
                               const std::string& source_name)
    : wxFrame(parent, wxID_ANY, TopologyTitle(source_name), wxDefaultPosition, wxSize(1180, 560)),
      access_(&access),
      timer_(this) {
  SetIcons(AppIcons());
  BuildControls();
  RestoreLayout();
  model_.Read(*access_);
  // What the automatic refresh compares with: the bus as it was when the window opened.
  model_.MarkChanges(model_.sampled());
  Fill();
  Bind(wxEVT_CHAR_HOOK, &TopologyWindow::OnCharHook, this);
  Bind(wxEVT_TIMER, &TopologyWindow::OnTimer, this);
}

TopologyWindow::~TopologyWindow() {
  timer_.Stop();
  SaveLayout();
}

void TopologyWindow::BuildControls() {
  auto* panel = new wxPanel(this);
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  auto* label = new wxStaticText(panel, wxID_ANY, U(texts::kFilterLabel));
  filter_ = new wxTextCtrl(panel, wxID_ANY, "", wxDefaultPosition, wxSize(260, -1));
  filter_->SetToolTip(U(texts::kTipFilter));
  auto* refresh = new wxButton(panel, wxID_REFRESH, U(texts::kRefresh));
  refresh->SetToolTip(U(texts::kTipRefresh));
  auto_refresh_ = new wxCheckBox(panel, wxID_ANY, U(texts::kAutoRefresh));
  auto_refresh_->SetToolTip(U(texts::kTipAutoRefresh));
  top->Add(label, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  top->Add(filter_, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
  top->Add(refresh, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
  top->Add(auto_refresh_, 0, wxALIGN_CENTER_VERTICAL);

  tree_ = new wxTreeListCtrl(panel, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTL_SINGLE);
  tree_->AssignImageList(MakeMarkImages());
  for (const ColumnSpec& column : kColumns) tree_->AppendColumn(U(column.title), column.width);
  status_ = new wxStaticText(panel, wxID_ANY, "");

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(top, 0, wxEXPAND | wxALL, 8);
  sizer->Add(tree_, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
  sizer->Add(status_, 0, wxEXPAND | wxALL, 8);
  panel->SetSizer(sizer);

  filter_->Bind(wxEVT_TEXT,
                [this](wxCommandEvent&) { ApplyFilter(filter_->GetValue().utf8_string()); });
  refresh->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Reload(); });
  auto_refresh_->Bind(wxEVT_CHECKBOX, &TopologyWindow::OnAutoRefresh, this);
  tree_->Bind(wxEVT_TREELIST_ITEM_ACTIVATED, &TopologyWindow::OnActivated, this);
  tree_->Bind(wxEVT_TREELIST_SELECTION_CHANGED, &TopologyWindow::OnSelection, this);
  tree_->GetView()->Bind(wxEVT_MOTION, &TopologyWindow::OnMotion, this);
}

void TopologyWindow::SetAccess(ConfigAccess& access, const std::string& source_name) {
  access_ = &access;
  SetTitle(TopologyTitle(source_name));
  collapsed_.clear();
  model_.ForgetChanges();
  model_.Read(*access_);
  model_.MarkChanges(model_.sampled());
  Fill();
}

void TopologyWindow::Reload() { ReadAgain(false); }

void TopologyWindow::AutoRefreshTick() { ReadAgain(true); }

void TopologyWindow::ReadAgain(bool mark_changes) {
  // What a person changed of the tree: the bridges they closed and the row they chose.
  for (size_t row = 0; row < items_.size(); ++row) {
    if (!items_[row].IsOk() || !tree_->GetFirstChild(items_[row]).IsOk()) continue;
    const std::string& address = model_.rows()[row].address;
    if (tree_->IsExpanded(items_[row])) {
      collapsed_.erase(address);
    } else {
      collapsed_.insert(address);
    }
  }
  const wxTreeListItem selected = tree_->GetSelection();
  const int row = selected.IsOk() ? RowOf(selected) : -1;
  const std::string address = row >= 0 ? model_.rows()[static_cast<size_t>(row)].address : "";
  model_.Read(*access_);
  if (mark_changes) model_.MarkChanges(model_.sampled());
  Fill();
  if (!address.empty()) {
    if (const wxTreeListItem item = ItemOf(address); item.IsOk()) {
      tree_->Select(item);
      tree_->EnsureVisible(item);
    }
  }
}

void TopologyWindow::ApplyFilter(const std::string& filter) {
  filter_text_ = filter;
  Fill();
}

void TopologyWindow::Fill() {
  const std::vector<topology::TopologyRow>& rows = model_.rows();
  const std::vector<bool> shown = model_.Matching(filter_text_);
  tree_->Freeze();
  tree_->DeleteAllItems();
  items_.assign(rows.size(), wxTreeListItem());
  const bool names_domains = model_.NamesDomains();
  size_t shown_count = 0;
  for (const int domain : model_.Domains()) {
    // A domain's line is marked with the worst finding of its functions.
    std::optional<health::Severity> mark;
    bool any = false;
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].domain != domain || !shown[i]) continue;
      any = true;
      if (rows[i].mark && (!mark || *mark < *rows[i].mark)) mark = rows[i].mark;
    }
    if (!any) continue;
    const wxTreeListItem top =
        tree_->AppendItem(tree_->GetRootItem(), U(cli::HostBridgeText(domain, names_domains)),
                          MarkImage(mark, false), MarkImage(mark, false), new RowData(-1));
    for (size_t i = 0; i < rows.size(); ++i) {
      const topology::TopologyRow& row = rows[i];
      if (row.domain != domain || !shown[i]) continue;
      ++shown_count;
      const wxTreeListItem parent =
          row.parent >= 0 && items_[static_cast<size_t>(row.parent)].IsOk()
              ? items_[static_cast<size_t>(row.parent)]
              : top;
      const int image = MarkImage(row.mark, !row.changes.empty());
      const wxTreeListItem item =
          tree_->AppendItem(parent, U(row.address), image, image, new RowData(static_cast<int>(i)));
      items_[i] = item;
      tree_->SetItemText(item, kIdsColumn, U(row.ids));
      tree_->SetItemText(item, kNamesColumn, U(row.names));
      tree_->SetItemText(item, kClassColumn, U(row.class_name));
      tree_->SetItemText(
          item, kDriverColumn,
          row.driver_known ? U(row.driver.empty() ? texts::kNoDriver : row.driver) : wxString());
      tree_->SetItemText(item, kLinkNowColumn, U(row.link_now));
      tree_->SetItemText(item, kLinkMaxColumn, U(row.link_max));
      tree_->SetItemText(item, kFindingColumn, FirstLine(topology::FindingText(row)));
    }
    tree_->Expand(top);
  }
  // Every bridge open, but those a person closed.
  for (size_t i = 0; i < rows.size(); ++i) {
    if (items_[i].IsOk() && tree_->GetFirstChild(items_[i]).IsOk() &&
        (collapsed_.count(rows[i].address) == 0 || !filter_text_.empty())) {
      tree_->Expand(items_[i]);
    }
  }
  tree_->Thaw();
  UpdateStatus(shown_count);
}

void TopologyWindow::UpdateStatus(size_t shown) {
  const std::vector<topology::TopologyRow>& rows = model_.rows();
  size_t findings = 0, changes = 0;
  for (const topology::TopologyRow& row : rows) {
    findings += row.findings.size();
    changes += row.changes.size();
  }
  wxString text = Replace(texts::kStatusFunctions, wxString::Format("%zu", rows.size()));
  if (shown != rows.size()) text += Replace(texts::kStatusShown, wxString::Format("%zu", shown));
  text += Replace(texts::kStatusFindings, wxString::Format("%zu", findings));
  changes += model_.removed().size();
  if (changes > 0) text += Replace(texts::kStatusChanges, wxString::Format("%zu", changes));
  if (!model_.removed().empty()) {
    wxString removed;
    for (const std::string& address : model_.removed()) {
      removed += (removed.empty() ? "" : " ") + U(address);
    }
    text += Replace(texts::kStatusRemoved, removed);
  }
  status_->SetLabel(text);
}

wxTreeListItem TopologyWindow::ItemOf(const std::string& address) const {
  const int row = model_.RowOf(address);
  if (row < 0 || static_cast<size_t>(row) >= items_.size()) return wxTreeListItem();
  return items_[static_cast<size_t>(row)];
}

int TopologyWindow::RowOf(const wxTreeListItem& item) const {
  const auto* data = item.IsOk() ? dynamic_cast<const RowData*>(tree_->GetItemData(item)) : nullptr;
  return data != nullptr ? data->row() : -1;
}

wxString TopologyWindow::TooltipOf(const wxTreeListItem& item) const {
  const int row = RowOf(item);
  if (row < 0) return wxString();
  return U(topology::FindingText(model_.rows()[static_cast<size_t>(row)]));
}

bool TopologyWindow::OpenDetails(const wxTreeListItem& item) {
  const int row = RowOf(item);
  if (row < 0) return false;
  const std::optional<FunctionLocation> at = model_.rows()[static_cast<size_t>(row)].at;
  if (!at) return false;
  OpenDetailsSheet(*access_, *at);
  return true;
}

void TopologyWindow::OnActivated(wxTreeListEvent& event) {
  const wxTreeListItem item = event.GetItem();
  // Opened once the tree has finished with the click or the key, so the modal sheet does not
  // run inside the tree's own event handling.
  CallAfter([this, item] { OpenDetails(item); });
}

void TopologyWindow::OnSelection(wxTreeListEvent& event) {
  // The keyboard's way to a row's finding: the tooltip follows the selection too.
  ShowTooltip(TooltipOf(event.GetItem()));
}

void TopologyWindow::ShowTooltip(const wxString& tip) {
  if (tip == tooltip_shown_) return;
  tooltip_shown_ = tip;
  if (tip.empty()) {
    tree_->GetView()->UnsetToolTip();
  } else {
    tree_->GetView()->SetToolTip(tip);
  }
}

void TopologyWindow::OnMotion(wxMouseEvent& event) {
  event.Skip();
  wxDataViewCtrl* view = tree_->GetDataView();
  // From where the pointer is on the screen: the event's own position may be relative to a
  // part of the tree below its header, which the hit test does not count from.
  const wxPoint at = view->ScreenToClient(wxGetMousePosition());
  wxDataViewItem hit;
  wxDataViewColumn* column = nullptr;
  view->HitTest(at, hit, column);
  // A tree list's items are its data view's, by the same node.
  ShowTooltip(hit.IsOk() ? TooltipOf(wxTreeListItem(static_cast<wxTreeListModelNode*>(hit.GetID())))
                         : wxString());
}

void TopologyWindow::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  wxWindow* focus = FindFocus();
  const bool in_tree = focus != nullptr && (focus == tree_ || tree_->IsDescendant(focus));
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && in_tree) {
    // Enter opens the chosen row's sheet, on every platform's tree alike.
    const wxTreeListItem item = tree_->GetSelection();
    if (item.IsOk()) CallAfter([this, item] { OpenDetails(item); });
  } else if (key == WXK_F5) {
    Reload();
  } else if (key == WXK_ESCAPE) {
    Close();
  } else if (key == 'F' && event.GetModifiers() == wxMOD_CONTROL) {
    filter_->SetFocus();
    filter_->SelectAll();
  } else {
    event.Skip();
  }
}

void TopologyWindow::OnAutoRefresh(wxCommandEvent&) {
  if (auto_refresh_->IsChecked()) {
    timer_.Start(kAutoRefreshMilliseconds);
  } else {
    timer_.Stop();
  }
}

void TopologyWindow::OnTimer(wxTimerEvent&) { AutoRefreshTick(); }

void TopologyWindow::SaveLayout() const {
  wxConfigBase* config = wxConfigBase::Get();
  if (config == nullptr) return;
  // The client size: the frame's own size depends on the window manager's decorations.
  if (!IsMaximized() && !IsIconized()) {
    const wxSize size = GetClientSize();
    config->Write(wxString(kConfigGroup) + "Width", size.x);
    config->Write(wxString(kConfigGroup) + "Height", size.y);
  }
  for (unsigned column = 0; column < kColumnCount; ++column) {
    config->Write(wxString::Format("%sColumn%u", kConfigGroup, column),
                  tree_->GetColumnWidth(column));
  }
  // A home folder that cannot be written loses the layout, without a box saying so.
  const wxLogNull quiet;
  config->Flush();
}

void TopologyWindow::RestoreLayout() {
  wxConfigBase* config = wxConfigBase::Get();
  if (config == nullptr) return;
  // Sizes out of reason (a hand-edited file) are not used.
  const long width = config->ReadLong(wxString(kConfigGroup) + "Width", -1);
  const long height = config->ReadLong(wxString(kConfigGroup) + "Height", -1);
  if (width >= 300 && width <= 10000 && height >= 200 && height <= 10000) {
    SetClientSize(static_cast<int>(width), static_cast<int>(height));
  }
  for (unsigned column = 0; column < kColumnCount; ++column) {
    const long column_width =
        config->ReadLong(wxString::Format("%sColumn%u", kConfigGroup, column), -1);
    if (column_width >= 20 && column_width <= 4000) {
      tree_->SetColumnWidth(column, static_cast<int>(column_width));
    }
  }
}

}  // namespace kelvox

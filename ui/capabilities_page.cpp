#include "ui/capabilities_page.h"

#include <wx/clipbrd.h>
#include <wx/menu.h>
#include <wx/sizer.h>

#include "ui/texts.h"

namespace kelvox {

wxIMPLEMENT_CLASS(CapabilitiesPage, wxPanel);

namespace {

// Which row an item shows: the tree keeps this beside each item.
class RowData : public wxClientData {
 public:
  explicit RowData(const TreeRow* row) : row_(row) {}
  const TreeRow* row() const { return row_; }

 private:
  const TreeRow* row_;
};

enum { kCopyRowId = wxID_HIGHEST + 1, kCopyPageId };

}  // namespace

CapabilitiesPage::CapabilitiesPage(wxWindow* parent, std::vector<TreeRow> rows,
                                   const std::string& reason)
    : wxPanel(parent), rows_(std::move(rows)), reason_text_(reason) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  if (!reason.empty()) {
    reason_ = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(reason));
    // The line wraps within the page the four original pages size, rather than widening it.
    reason_->SetMinSize(wxSize(1, -1));
    sizer->Add(reason_, 0, wxEXPAND | wxALL, 4);
  }
  tree_ = new wxTreeListCtrl(this, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(200, 150)),
                             static_cast<long>(wxTL_SINGLE) | static_cast<long>(wxBORDER_SUNKEN));
  tree_->SetMinSize(FromDIP(wxSize(40, 60)));
  tree_->AppendColumn(wxString::FromUTF8(texts::kTreeNameColumn), FromDIP(210));
  tree_->AppendColumn(wxString::FromUTF8(texts::kTreeValueColumn), FromDIP(420));
  AddRows(tree_->GetRootItem(), rows_);
  // Each capability shows its registers; their fields open on demand.
  for (wxTreeListItem item = tree_->GetFirstChild(tree_->GetRootItem()); item.IsOk();
       item = tree_->GetNextSibling(item)) {
    tree_->Expand(item);
  }
  sizer->Add(tree_, 1, wxEXPAND | wxALL, 4);
  SetSizer(sizer);

  tree_->Bind(wxEVT_TREELIST_ITEM_CONTEXT_MENU, &CapabilitiesPage::OnContextMenu, this);
  Bind(wxEVT_CHAR_HOOK, &CapabilitiesPage::OnCharHook, this);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { Copy(SelectedText()); }, kCopyRowId);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { Copy(PageText()); }, kCopyPageId);
}

void CapabilitiesPage::AddRows(wxTreeListItem parent, const std::vector<TreeRow>& rows) {
  for (const TreeRow& row : rows) {
    const wxTreeListItem item =
        tree_->AppendItem(parent, wxString::FromUTF8(row.name), -1, -1, new RowData(&row));
    tree_->SetItemText(item, 1, wxString::FromUTF8(row.value));
    AddRows(item, row.children);
  }
}

const TreeRow* CapabilitiesPage::RowOf(wxTreeListItem item) const {
  if (!item.IsOk()) return nullptr;
  const auto* data = dynamic_cast<const RowData*>(tree_->GetItemData(item));
  return data ? data->row() : nullptr;
}

std::string CapabilitiesPage::SelectedText() const {
  const TreeRow* row = RowOf(tree_->GetSelection());
  return row ? TreeRowText(*row) : std::string();
}

std::string CapabilitiesPage::PageText() const {
  std::string text = reason_text_.empty() ? "" : reason_text_ + "\n";
  return text + TreeText(rows_);
}

void CapabilitiesPage::OnContextMenu(wxTreeListEvent& event) {
  wxMenu menu;
  menu.Append(kCopyRowId, wxString::FromUTF8(texts::kCopyRow));
  menu.Append(kCopyPageId, wxString::FromUTF8(texts::kCopyPage));
  menu.Enable(kCopyRowId, RowOf(event.GetItem()) != nullptr);
  PopupMenu(&menu);
}

void CapabilitiesPage::OnCharHook(wxKeyEvent& event) {
  if (event.GetModifiers() == wxMOD_CONTROL &&
      (event.GetKeyCode() == 'C' || event.GetKeyCode() == WXK_INSERT)) {
    Copy(SelectedText());
    return;
  }
  event.Skip();
}

void CapabilitiesPage::Copy(const std::string& text) {
  if (text.empty()) return;
  wxClipboardLocker lock;
  if (!lock) return;
  wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(text)));
  wxTheClipboard->Flush();
}

}  // namespace kelvox

// The details sheet's "ケイパビリティ" page: the header decoded and every capability as a
// read-only tree with a name and a value column (capability, its registers, their fields).
// Ctrl+C or the context menu copies the selected row with what lies under it, or the whole
// page, as indented text. Where the bytes past the header could not be read, a line above the
// tree says why.
#pragma once

#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/treelist.h>

#include <string>
#include <vector>

#include "details/capability_tree.h"

namespace kelvox {

class CapabilitiesPage : public wxPanel {
 public:
  // `reason`: why nothing past the header is shown, "" when it is.
  CapabilitiesPage(wxWindow* parent, std::vector<TreeRow> rows, const std::string& reason);

  wxTreeListCtrl& tree() const { return *tree_; }
  // The line above the tree, or null when there is none.
  wxStaticText* reason_line() const { return reason_; }

  // The row an item of the tree shows, or null for the root or an unknown item.
  const TreeRow* RowOf(wxTreeListItem item) const;
  // The text a copy of the selected row gives ("" with nothing selected), and of the page.
  std::string SelectedText() const;
  std::string PageText() const;

 private:
  void AddRows(wxTreeListItem parent, const std::vector<TreeRow>& rows);
  void OnContextMenu(wxTreeListEvent& event);
  void OnCharHook(wxKeyEvent& event);
  static void Copy(const std::string& text);

  std::vector<TreeRow> rows_;
  std::string reason_text_;
  wxStaticText* reason_ = nullptr;
  wxTreeListCtrl* tree_ = nullptr;

  wxDECLARE_CLASS(CapabilitiesPage);
};

}  // namespace kelvox

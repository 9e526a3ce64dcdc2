// What the three pages of the device details sheet have in common: a page is built from its
// dialog template on the sheet's book, keeps one text per field (all empty until the sheet
// fills them), and moves those texts to and from its read-only edit controls.
#pragma once

#include <wx/panel.h>
#include <wx/string.h>
#include <wx/textctrl.h>

#include <span>
#include <vector>

#include "details/details_field.h"
#include "ui/dialog_template.h"

namespace kelvox {

// One field of a page: the edit control with this id shows this text member.
struct TextBinding {
  int id;
  wxString* text;
};

class DetailsPage : public wxPanel {
 public:
  // Creates the page window as a child of `parent` (the sheet's book), builds its controls from
  // Template() and runs OnInitDialog. False when the window cannot be created.
  bool Create(wxWindow* parent);

  // Text members to the edit controls (`to_window`) or back; no validation. Before Create
  // there are no controls and nothing moves.
  virtual void DoDataExchange(bool to_window);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  // Sets each text member whose control id appears among `fields` to that field's text.
  void SetTexts(std::span<const DetailsField> fields);

  // The page's dialog template and the title of its tab.
  virtual const DialogTemplate& Template() const = 0;
  virtual wxString Title() const = 0;

  // The edit control of field `id`, or null (before Create, or no such field).
  wxTextCtrl* FieldEdit(int id) const;

 protected:
  // Runs once the controls exist: shows the text members. A page that adds to it calls this
  // first.
  virtual bool OnInitDialog();

  // The page's fields: each edit control id with its text member, in tab order.
  virtual std::vector<TextBinding> Bindings() = 0;

 private:
  wxDECLARE_ABSTRACT_CLASS(DetailsPage);
};

}  // namespace kelvox

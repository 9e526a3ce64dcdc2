// Dialog templates as C++ tables: each control of a dialog is one row (window id, kind, text,
// rectangle in dialog units, extra style), and one builder turns a table into wx controls on a
// parent window. Dialog units follow the parent's font, so the font must be set on the
// top-level window before the controls are built. Where a GTK widget needs more room than its
// rectangle (a wxSpinButton is a wide "-" "+" pair), the rectangle grows and the controls to
// its right on the same row move along, so nothing is clipped.
#pragma once

#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/icon.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include <span>
#include <vector>

namespace kelvox {

// Id of a control that is never looked up (labels, frames, icons).
inline constexpr int kStaticId = -1;

enum class ControlKind {
  kStaticText,     // wxStaticText
  kGroupBox,       // wxStaticBox
  kEdit,           // wxTextCtrl
  kReadOnlyEdit,   // wxTextCtrl with wxTE_READONLY
  kButton,         // wxButton
  kDefaultButton,  // wxButton that Enter presses
  kList,           // wxListCtrl in report view
  kSpinButton,     // wxSpinButton (an up-down control)
  kIcon,           // wxStaticBitmap showing the template's icon
};

// One control of a template. Ids 1000 and up are the wx window ids; kStaticId for the rest.
struct ControlSpec {
  int id = kStaticId;
  ControlKind kind = ControlKind::kStaticText;
  const char* text = "";           // UTF-8; ignored for lists, spin buttons and icons
  int x = 0, y = 0, w = 0, h = 0;  // dialog units
  long style = 0;                  // wx style bits added to the kind's own
};

// A whole dialog: client size in dialog units, the font the units are measured in (face, a
// face to use when that one is not installed, points) and the controls in tab order.
struct DialogTemplate {
  int width = 0, height = 0;
  const char* face = "";
  const char* fallback_face = "";
  int point_size = 9;
  std::span<const ControlSpec> controls;
};

// The template's face when installed, else the fallback face, at the given size.
wxFont TemplateFont(const char* face, const char* fallback_face, int point_size);

// Grows each rectangle to at least its needed size. A wider control pushes every control that
// shares its row and starts at or right of its old right edge by the same amount (group boxes
// that enclose it widen instead); a taller one grows equally up and down, keeping its row's
// centre line. Pure arithmetic on pixel rectangles; `needed` has one size per rectangle
// (wxDefaultSize where nothing is needed).
std::vector<wxRect> GrowToFit(std::vector<wxRect> rects, const std::vector<wxSize>& needed,
                              const std::vector<bool>& is_group_box);

// The controls a builder made, by id and in tab order. Lookups are live: a control replaced
// later by another window with the same id (a CStaticLink) is found as its replacement, and a
// destroyed control drops out.
class DialogControls {
 public:
  DialogControls() = default;
  explicit DialogControls(wxWindow* parent) : parent_(parent) {}

  // The control with this id among the parent's children, or null (static controls have no
  // id to look up).
  wxWindow* Find(int id) const;
  // The control with this id cast to its wx class, or null when absent or of another class.
  template <class T>
  T* Get(int id) const {
    return dynamic_cast<T*>(Find(id));
  }
  // Every control built that still exists, in table order.
  std::vector<wxWindow*> InOrder() const;
  // The smallest rectangle holding every control (pixels, parent client coordinates).
  wxRect Bounds() const;

  void Add(wxWindow* window);

 private:
  wxWindow* parent_ = nullptr;
  std::vector<wxWeakRef<wxWindow>> in_order_;
};

// Creates the controls of `controls` as children of `parent`, converting dialog units with the
// parent's font (ConvertDialogToPixels) and growing rectangles where a widget needs more room.
// `icon` is shown by icon controls.
DialogControls BuildControls(wxWindow* parent, std::span<const ControlSpec> controls,
                             const wxIcon& icon = wxNullIcon);

// Sets the template's font on `dialog`, builds its controls and sizes its client area to the
// template (enlarged when grown controls need it). Returns the controls.
DialogControls ApplyDialogTemplate(wxWindow* dialog, const DialogTemplate& tmpl,
                                   const wxIcon& icon = wxNullIcon);

// A control's tooltip text, looked up by control id.
struct ControlTooltip {
  int id;
  const char* text;
};

// The text for `control_id`, or null when the table has none for it.
const char* FindTooltip(std::span<const ControlTooltip> tooltips, int control_id);

}  // namespace kelvox

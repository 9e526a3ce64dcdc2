#include "ui/dialog_template.h"

#include <wx/button.h>
#include <wx/fontenum.h>
#include <wx/listctrl.h>
#include <wx/spinbutt.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "ui/read_only_look.h"

namespace kelvox {

wxFont TemplateFont(const char* face, const char* fallback_face, int point_size) {
  const wxString wanted = wxString::FromUTF8(face);
  const wxString name =
      wxFontEnumerator::IsValidFacename(wanted) ? wanted : wxString::FromUTF8(fallback_face);
  return wxFont(wxFontInfo(point_size).FaceName(name));
}

namespace {
bool SharesRow(const wxRect& a, const wxRect& b) {
  return a.y < b.y + b.height && b.y < a.y + a.height;
}
}  // namespace

std::vector<wxRect> GrowToFit(std::vector<wxRect> rects, const std::vector<wxSize>& needed,
                              const std::vector<bool>& is_group_box) {
  for (std::size_t i = 0; i < rects.size() && i < needed.size(); ++i) {
    const wxRect old = rects[i];
    const int dw = needed[i].x - old.width;
    if (dw > 0) {
      rects[i].width += dw;
      const int old_right = old.x + old.width;
      for (std::size_t j = 0; j < rects.size(); ++j) {
        if (j == i || !SharesRow(rects[j], old)) continue;
        wxRect& other = rects[j];
        const bool encloses = j < is_group_box.size() && is_group_box[j] && other.x <= old.x &&
                              other.x + other.width >= old_right;
        if (encloses) {
          other.width += dw;
        } else if (other.x >= old_right) {
          other.x += dw;
        }
      }
    }
    const int dh = needed[i].y - old.height;
    if (dh > 0) {
      rects[i].y = std::max(0, old.y - dh / 2);
      rects[i].height += dh;
    }
  }
  return rects;
}

wxWindow* DialogControls::Find(int id) const {
  if (parent_ == nullptr || id == kStaticId || id == wxID_STATIC) return nullptr;
  for (wxWindow* child : parent_->GetChildren()) {
    if (child->GetId() == id) return child;
  }
  return nullptr;
}

std::vector<wxWindow*> DialogControls::InOrder() const {
  std::vector<wxWindow*> live;
  for (const wxWeakRef<wxWindow>& window : in_order_) {
    if (window) live.push_back(window.get());
  }
  return live;
}

wxRect DialogControls::Bounds() const {
  wxRect all;
  for (const wxWindow* w : InOrder()) all = all.IsEmpty() ? w->GetRect() : all.Union(w->GetRect());
  return all;
}

void DialogControls::Add(wxWindow* window) { in_order_.emplace_back(window); }

namespace {

wxWindow* CreateControl(wxWindow* parent, const ControlSpec& spec, const wxRect& rect,
                        const wxIcon& icon) {
  const wxWindowID id = spec.id == kStaticId ? wxID_STATIC : spec.id;
  const wxString text = wxString::FromUTF8(spec.text ? spec.text : "");
  const wxPoint pos = rect.GetPosition();
  const wxSize size = rect.GetSize();
  switch (spec.kind) {
    case ControlKind::kStaticText:
      return new wxStaticText(parent, id, text, pos, size, spec.style | wxST_NO_AUTORESIZE);
    case ControlKind::kGroupBox:
      return new wxStaticBox(parent, id, text, pos, size, spec.style);
    case ControlKind::kEdit:
      return new wxTextCtrl(parent, id, text, pos, size, spec.style);
    case ControlKind::kReadOnlyEdit: {
      auto* field = new wxTextCtrl(parent, id, text, pos, size, spec.style | wxTE_READONLY);
      SetFieldEditable(field, false);
      return field;
    }
    case ControlKind::kButton:
      return new wxButton(parent, id, text, pos, size, spec.style | wxBU_EXACTFIT);
    case ControlKind::kDefaultButton: {
      auto* button = new wxButton(parent, id, text, pos, size, spec.style | wxBU_EXACTFIT);
      button->SetDefault();
      return button;
    }
    case ControlKind::kList:
      return new wxListCtrl(parent, id, pos, size,
                            spec.style | wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN);
    case ControlKind::kSpinButton:
      return new wxSpinButton(parent, id, pos, size, spec.style | wxSP_ARROW_KEYS);
    case ControlKind::kIcon: {
      wxBitmap bitmap;
      if (icon.IsOk()) bitmap.CopyFromIcon(icon);
      return new wxStaticBitmap(parent, id, bitmap, pos, size, spec.style);
    }
  }
  return nullptr;
}

// Lists and frames take exactly their rectangle; every other widget gets at least the room
// GTK asks for.
bool KeepsTemplateSize(ControlKind kind) {
  return kind == ControlKind::kList || kind == ControlKind::kGroupBox;
}

}  // namespace

DialogControls BuildControls(wxWindow* parent, std::span<const ControlSpec> controls,
                             const wxIcon& icon) {
  std::vector<wxRect> rects;
  std::vector<bool> group_boxes;
  for (const ControlSpec& spec : controls) {
    rects.emplace_back(parent->ConvertDialogToPixels(wxPoint(spec.x, spec.y)),
                       parent->ConvertDialogToPixels(wxSize(spec.w, spec.h)));
    group_boxes.push_back(spec.kind == ControlKind::kGroupBox);
  }
  DialogControls built(parent);
  std::vector<wxSize> needed;
  std::vector<wxWindow*> windows;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    wxWindow* control = CreateControl(parent, controls[i], rects[i], icon);
    built.Add(control);
    windows.push_back(control);
    needed.push_back(KeepsTemplateSize(controls[i].kind) ? wxDefaultSize : control->GetBestSize());
  }
  const std::vector<wxRect> grown = GrowToFit(rects, needed, group_boxes);
  for (std::size_t i = 0; i < grown.size(); ++i) {
    if (grown[i] != rects[i]) windows[i]->SetSize(grown[i]);
  }
  return built;
}

DialogControls ApplyDialogTemplate(wxWindow* dialog, const DialogTemplate& tmpl,
                                   const wxIcon& icon) {
  dialog->SetFont(TemplateFont(tmpl.face, tmpl.fallback_face, tmpl.point_size));
  DialogControls built = BuildControls(dialog, tmpl.controls, icon);
  wxSize client = dialog->ConvertDialogToPixels(wxSize(tmpl.width, tmpl.height));
  const wxRect bounds = built.Bounds();
  const wxSize margin = dialog->ConvertDialogToPixels(wxSize(4, 4));
  client.x = std::max(client.x, bounds.GetRight() + 1 + margin.x);
  client.y = std::max(client.y, bounds.GetBottom() + 1 + margin.y);
  dialog->SetClientSize(client);
  return built;
}

const char* FindTooltip(std::span<const ControlTooltip> tooltips, int control_id) {
  for (const ControlTooltip& tip : tooltips) {
    if (tip.id == control_id) return tip.text;
  }
  return nullptr;
}

}  // namespace kelvox

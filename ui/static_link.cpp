#include "ui/static_link.h"

#include <wx/dcclient.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include <utility>

#include "ui/bell.h"
#include "ui/hand_cursor_win32.h"
#include "ui/shell_open_win32.h"

namespace kelvox {

LinkClick LinkState::Click(wxString& target, const wxString& caption, const LinkOpener& open) {
  if (target.empty()) target = caption;
  if (target.empty()) return LinkClick::kNothingToOpen;
  if (!open(target)) return LinkClick::kOpenFailed;
  colour_ = kLinkVisitedColour;
  return LinkClick::kOpened;
}

bool OpenWithDesktop(const wxString& target) {
#ifdef __WXMSW__
  return ShellOpen(target);
#endif
  // xdg-open (or the shell) takes documents, mail addresses and web addresses alike; the
  // browser launcher is the second try for web addresses where no opener is installed.
  if (wxLaunchDefaultApplication(target)) return true;
  if (target.StartsWith("http://") || target.StartsWith("https://")) {
    return wxLaunchDefaultBrowser(target);
  }
  return false;
}

namespace {

LinkOpener& Opener() {
  static LinkOpener opener;
  return opener;
}

std::optional<wxCursor> LoadSystemHandCursor() {
#ifdef __WXMSW__
  if (std::optional<wxCursor> help_hand = LoadHelpViewerHandCursor()) return help_hand;
#endif
  wxCursor hand(wxCURSOR_HAND);
  if (!hand.IsOk()) return std::nullopt;
  return hand;
}

// One cursor for every link of the process, loaded at the first pointer movement over any
// link and kept until the process ends.
LoadOnce<wxCursor>& HandCursor() {
  static LoadOnce<wxCursor> cache(LoadSystemHandCursor);
  return cache;
}

bool IsTextStatic(const wxWindow* window) {
  return dynamic_cast<const wxStaticText*>(window) != nullptr ||
         dynamic_cast<const wxGenericStaticText*>(window) != nullptr;
}

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CStaticLink, wxGenericStaticText);

CStaticLink::CStaticLink(const char* target, bool delete_on_destroy)
    : m_link(target ? wxString::FromUTF8(target) : wxString()),
      delete_on_destroy_(delete_on_destroy) {}

CStaticLink::~CStaticLink() {
  if (taken_over_) UnbindMouse(taken_over_);
}

LinkOpener CStaticLink::SetOpener(LinkOpener opener) {
  return std::exchange(Opener(), std::move(opener));
}

void CStaticLink::ResetHandCursor(std::function<std::optional<wxCursor>()> loader) {
  HandCursor() = LoadOnce<wxCursor>(loader ? std::move(loader) : LoadSystemHandCursor);
}

bool CStaticLink::SubclassDlgItem(int id, wxWindow* dialog) {
  wxWindow* original = dialog ? dialog->FindWindow(id) : nullptr;
  if (original == nullptr || original == this) return false;
  if (!IsTextStatic(original)) {
    // An icon or a frame keeps its own window and colours; the link only answers its clicks.
    recolours_ = false;
    taken_over_ = original;
    BindMouse(original);
    original->Bind(wxEVT_DESTROY, &CStaticLink::OnTakenOverDestroyed, this);
    return true;
  }
  const long alignment = original->GetWindowStyle() & (wxALIGN_RIGHT | wxALIGN_CENTRE_HORIZONTAL);
  if (!Create(original->GetParent(), id, original->GetLabel(), original->GetPosition(),
              original->GetSize(), alignment | wxST_NO_AUTORESIZE)) {
    return false;
  }
  own_font_ = original->GetFont();
  SetFont(own_font_);
  if (original->GetToolTip()) SetToolTip(original->GetToolTipText());
  MoveAfterInTabOrder(original);
  original->Destroy();
  Bind(wxEVT_PAINT, &CStaticLink::OnPaint, this);
  BindMouse(this);
  Refresh();
  return true;
}

void CStaticLink::BindMouse(wxWindow* window) {
  window->Bind(wxEVT_LEFT_DOWN, &CStaticLink::OnLeftDown, this);
  window->Bind(wxEVT_SET_CURSOR, &CStaticLink::OnSetCursor, this);
  window->Bind(wxEVT_ENTER_WINDOW, &CStaticLink::OnMouseOver, this);
  window->Bind(wxEVT_MOTION, &CStaticLink::OnMouseOver, this);
}

void CStaticLink::UnbindMouse(wxWindow* window) {
  window->Unbind(wxEVT_LEFT_DOWN, &CStaticLink::OnLeftDown, this);
  window->Unbind(wxEVT_SET_CURSOR, &CStaticLink::OnSetCursor, this);
  window->Unbind(wxEVT_ENTER_WINDOW, &CStaticLink::OnMouseOver, this);
  window->Unbind(wxEVT_MOTION, &CStaticLink::OnMouseOver, this);
  window->Unbind(wxEVT_DESTROY, &CStaticLink::OnTakenOverDestroyed, this);
}

void CStaticLink::MakeUnderlineFont() {
  if (underline_font_.IsOk()) return;
  const wxFont base = own_font_.IsOk() ? own_font_ : GetFont();
  underline_font_ = base.Underlined();
  ++underline_fonts_made_;
}

void CStaticLink::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  MakeUnderlineFont();
  // No background is painted, so the dialog's own background shows through.
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.SetFont(underline_font_);
  dc.SetTextForeground(wxColour(static_cast<unsigned long>(state_.colour())));
  const long alignment = GetWindowStyle() & (wxALIGN_RIGHT | wxALIGN_CENTRE_HORIZONTAL);
  dc.DrawLabel(GetLabelText(), GetClientRect(), static_cast<int>(alignment) | wxALIGN_TOP);
}

void CStaticLink::OnLeftDown(wxMouseEvent&) {
  const LinkOpener& open = Opener() ? Opener() : LinkOpener(OpenWithDesktop);
  const wxString caption = link_window()->GetLabel();
  switch (state_.Click(m_link, caption, open)) {
    case LinkClick::kNothingToOpen:
      return;
    case LinkClick::kOpenFailed:
      RingBell();
      return;
    case LinkClick::kOpened:
      Recolour();
      return;
  }
}

void CStaticLink::Recolour() {
  if (!recolours_ || taken_over_) return;
  Refresh();
  Update();
}

void CStaticLink::ApplyHandCursor() {
  if (cursor_applied_) return;
  cursor_applied_ = true;
  if (const wxCursor* hand = HandCursor().Get()) link_window()->SetCursor(*hand);
}

void CStaticLink::OnSetCursor(wxSetCursorEvent& event) {
  if (const wxCursor* hand = HandCursor().Get()) {
    event.SetCursor(*hand);
  } else {
    event.Skip();
  }
}

void CStaticLink::OnMouseOver(wxMouseEvent& event) {
  ApplyHandCursor();
  event.Skip();
}

void CStaticLink::OnTakenOverDestroyed(wxWindowDestroyEvent& event) {
  event.Skip();
  if (event.GetEventObject() != taken_over_) return;
  UnbindMouse(taken_over_);
  taken_over_ = nullptr;
  if (delete_on_destroy_) delete this;
}

bool CStaticLink::Destroy() {
  if (delete_on_destroy_ || !GetHandle()) return wxGenericStaticText::Destroy();
  // The owner keeps and deletes this object (usually as a member of the dialog, which deletes
  // it before the dialog's own windows go): destroying it here would delete it under its
  // owner, so the window is only hidden until then.
  Hide();
  return true;
}

}  // namespace kelvox

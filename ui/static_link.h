// CStaticLink: a static text of a dialog that acts as a link. The text is drawn underlined,
// blue until the first successful open and purple after it; the mouse pointer becomes a hand
// over it; a left-button press opens the link target with the desktop's opener. The decisions
// (colour, which target a click opens, the once-only cursor load) live in plain classes that
// need no display; CStaticLink binds them to a wxGenericStaticText (a GTK label receives no
// mouse clicks, a generic one does).
#pragma once

#include <wx/cursor.h>
#include <wx/font.h>
// wx/stattext.h must come before the generic header, which relies on what it declares.
#include <wx/stattext.h>
// clang-format off
#include <wx/generic/stattextg.h>
// clang-format on
#include <wx/string.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace kelvox {

// Colours as 0x00BBGGRR values.
inline constexpr uint32_t kLinkUnvisitedColour = 0x00FF0000;  // RGB(0, 0, 255), blue
inline constexpr uint32_t kLinkVisitedColour = 0x00800080;    // RGB(128, 0, 128), purple

// Opens a link target; true on success.
using LinkOpener = std::function<bool(const wxString& target)>;

// What a click on a link did.
enum class LinkClick { kNothingToOpen, kOpened, kOpenFailed };

// The state of one link, without any window: its colour and what a click does.
class LinkState {
 public:
  uint32_t colour() const { return colour_; }
  bool visited() const { return colour_ == kLinkVisitedColour; }

  // A press on the link: an empty target first takes the caption (and keeps it); a target
  // still empty opens nothing; a successful open turns the link visited for good, a failed one
  // leaves the colour as it was.
  LinkClick Click(wxString& target, const wxString& caption, const LinkOpener& open);

 private:
  uint32_t colour_ = kLinkUnvisitedColour;
};

// A value loaded at most once: the first Get() runs the loader, later calls return what it
// gave (or nothing, without retrying, when it gave nothing).
template <class T>
class LoadOnce {
 public:
  explicit LoadOnce(std::function<std::optional<T>()> loader) : loader_(std::move(loader)) {}
  const T* Get() {
    if (!attempted_) {
      attempted_ = true;
      value_ = loader_();
    }
    return value_ ? &*value_ : nullptr;
  }
  bool attempted() const { return attempted_; }

 private:
  std::function<std::optional<T>()> loader_;
  std::optional<T> value_;
  bool attempted_ = false;
};

// Opens a target with the desktop's opener (xdg-open on Linux, the shell elsewhere).
bool OpenWithDesktop(const wxString& target);

class CStaticLink : public wxGenericStaticText {
 public:
  // `target` may be null (an empty target: the first click takes the caption). With
  // `delete_on_destroy`, the object is deleted when its window is destroyed (Destroy(), or its
  // parent going); without it, the owner keeps and deletes the object: usually the dialog
  // holding it as a member, whose members go before its child windows. Like every wx window it
  // cannot outlive its parent window, so an owner of a link made with new deletes it first.
  explicit CStaticLink(const char* target = nullptr, bool delete_on_destroy = false);
  ~CStaticLink() override;

  // Becomes the link for the static control `id` of `dialog`: a text static is replaced by
  // this window with the same id, caption, place, size, font and tab position; a non-text
  // static (icon, frame) is taken over as it is, answering clicks and showing the hand but
  // never recoloured. False when `dialog` has no such control.
  bool SubclassDlgItem(int id, wxWindow* dialog);

  // Replaces the opener every link uses (tests); an empty one restores OpenWithDesktop.
  // Returns the one replaced.
  static LinkOpener SetOpener(LinkOpener opener);
  // Replaces the process-wide hand-cursor cache with a fresh one using `loader` (tests); an
  // empty loader restores the system hand cursor.
  static void ResetHandCursor(std::function<std::optional<wxCursor>()> loader);

  // The link's colour now (0x00BBGGRR).
  uint32_t colour() const { return state_.colour(); }
  // The underlined font the text is drawn in (made at the first paint; not OK before).
  const wxFont& underline_font() const { return underline_font_; }
  // How many underline fonts this link made (one at most).
  int underline_fonts_made() const { return underline_fonts_made_; }
  // The window that shows the link: this one, or the taken-over non-text static.
  wxWindow* link_window() const {
    return taken_over_ ? taken_over_ : const_cast<CStaticLink*>(this);
  }

  // With delete-on-destroy, destroys the window and the object; without it, only hides the
  // window and leaves the object to its owner.
  bool Destroy() override;

  // What a click opens; the owner may assign it before or after SubclassDlgItem.
  wxString m_link;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnSetCursor(wxSetCursorEvent& event);
  void OnMouseOver(wxMouseEvent& event);
  void OnTakenOverDestroyed(wxWindowDestroyEvent& event);
  void ApplyHandCursor();
  void MakeUnderlineFont();
  void Recolour();
  void BindMouse(wxWindow* window);
  void UnbindMouse(wxWindow* window);

  LinkState state_;
  bool delete_on_destroy_ = false;
  bool recolours_ = true;
  wxFont own_font_;
  wxFont underline_font_;
  int underline_fonts_made_ = 0;
  bool cursor_applied_ = false;
  wxWindow* taken_over_ = nullptr;

  wxDECLARE_DYNAMIC_CLASS(CStaticLink);
};

}  // namespace kelvox

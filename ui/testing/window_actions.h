// What a person does to a window in a test (click, type, press a key), done with
// wxUIActionSimulator, and a watcher that closes modal dialogs so a test never blocks on one.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/uiaction.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/testing/gui_test.h"

namespace kelvox::testing {

// Moves the pointer to `point` (screen coordinates) and returns once the program has handled
// the motion.
inline void PointAt(const wxPoint& point) {
  wxUIActionSimulator sim;
  sim.MouseMove(point);
  RoundTrip();
}

// Presses and releases the left button at `point` inside `window` (client coordinates;
// the centre when omitted), and returns once the program has handled the click.
inline void ClickOn(wxWindow* window, wxPoint point = wxDefaultPosition) {
  if (point == wxDefaultPosition)
    point = wxPoint(window->GetClientSize().x / 2, window->GetClientSize().y / 2);
  PointAt(window->ClientToScreen(point));
  wxUIActionSimulator sim;
  sim.MouseClick();
  RoundTrip();
}

// Presses one key (with modifiers) where the keyboard focus is, and returns once the program
// has handled it.
inline void PressKey(int key, int modifiers = wxMOD_NONE) {
  wxUIActionSimulator sim;
  sim.Char(key, modifiers);
  RoundTrip();
}

// Types `text` key by key where the keyboard focus is, each key handled before the next.
inline void TypeText(const char* text) {
  wxUIActionSimulator sim;
  for (const char* c = text; *c != '\0'; ++c) {
    sim.Char(static_cast<unsigned char>(*c));
    RoundTrip();
  }
}

// While it lives, every modal dialog that opens is handed to `inspect` (which may read it)
// and then ended with wxID_OK; the titles of the dialogs seen are kept in order.
class ModalWatcher {
 public:
  explicit ModalWatcher(std::function<void(wxDialog&)> inspect = {})
      : inspect_(std::move(inspect)) {
    timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Poll(); });
    timer_.Start(50);
  }
  ~ModalWatcher() { timer_.Stop(); }

  const std::vector<wxString>& titles() const { return titles_; }

 private:
  void Poll() {
    for (wxWindow* window : wxTopLevelWindows) {
      auto* dialog = dynamic_cast<wxDialog*>(window);
      if (dialog == nullptr || !dialog->IsModal() || !dialog->IsShownOnScreen()) continue;
      titles_.push_back(dialog->GetTitle());
      if (inspect_) inspect_(*dialog);
      dialog->EndModal(wxID_OK);
      return;
    }
  }

  std::function<void(wxDialog&)> inspect_;
  wxTimer timer_;
  std::vector<wxString> titles_;
};

}  // namespace kelvox::testing

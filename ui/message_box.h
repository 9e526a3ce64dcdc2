// Message boxes go through one seam so window tests can read what would have been shown
// without a modal box blocking them; and the error box that reports a failed system call.
#pragma once

#include <wx/string.h>
#include <wx/window.h>

#include <functional>
#include <vector>

namespace kelvox {

// Shows a message box (text, caption, wx style bits, owner or null); returns the button
// pressed (wxOK, wxYES, ...).
using MessageBoxHandler =
    std::function<int(const wxString& text, const wxString& caption, long style, wxWindow*)>;

// Shows a message box through the installed handler (wxMessageBox unless replaced).
int ShowMessageBox(const wxString& text, const wxString& caption, long style,
                   wxWindow* owner = nullptr);

// Installs a handler (an empty one restores wxMessageBox); returns the one it replaces.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The error box: the system's message for `error_code` (errno or GetLastError), titled
// "Error", information icon, OK button, no owner window.
void ShowErrorBox(unsigned long error_code);

// Shows the error box for the calling thread's last system error.
void ShowLastErrorBox();

// One message box a test captured instead of showing.
struct CapturedMessage {
  wxString text;
  wxString caption;
  long style = 0;
  wxWindow* owner = nullptr;
};

// For its lifetime, records every message box instead of showing it, answering `answer`.
class ScopedMessageCapture {
 public:
  explicit ScopedMessageCapture(int answer = wxOK);
  ~ScopedMessageCapture();
  ScopedMessageCapture(const ScopedMessageCapture&) = delete;
  ScopedMessageCapture& operator=(const ScopedMessageCapture&) = delete;

  const std::vector<CapturedMessage>& messages() const { return messages_; }

 private:
  std::vector<CapturedMessage> messages_;
  MessageBoxHandler previous_;
};

}  // namespace kelvox

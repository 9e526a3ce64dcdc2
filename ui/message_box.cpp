#include "ui/message_box.h"

#include <wx/log.h>
#include <wx/msgdlg.h>

#include <utility>

#include "ui/error_box_win32.h"
#include "ui/texts.h"

namespace kelvox {

namespace {
MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}
}  // namespace

int ShowMessageBox(const wxString& text, const wxString& caption, long style, wxWindow* owner) {
  if (Handler()) return Handler()(text, caption, style, owner);
  return wxMessageBox(text, caption, style, owner);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

void ShowErrorBox(unsigned long error_code) {
#ifdef __WXMSW__
  // The system's own box, unless a test is capturing message boxes.
  if (!Handler()) {
    ShowSystemErrorBox(error_code);
    return;
  }
#endif
  ShowMessageBox(wxSysErrorMsgStr(error_code), wxString::FromUTF8(texts::kErrorCaption),
                 wxOK | wxICON_INFORMATION, nullptr);
}

void ShowLastErrorBox() { ShowErrorBox(wxSysErrorCode()); }

ScopedMessageCapture::ScopedMessageCapture(int answer) {
  previous_ = SetMessageBoxHandler(
      [this, answer](const wxString& text, const wxString& caption, long style, wxWindow* owner) {
        messages_.push_back({text, caption, style, owner});
        return answer;
      });
}

ScopedMessageCapture::~ScopedMessageCapture() { SetMessageBoxHandler(std::move(previous_)); }

}  // namespace kelvox

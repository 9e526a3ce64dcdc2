#ifdef __WXMSW__

#include "ui/error_box_win32.h"

#include <wx/msw/wrapwin.h>

#include "ui/texts.h"

namespace kelvox {

namespace {

// The system's text for a code, allocated by the system and freed with the object.
class SystemMessage {
 public:
  explicit SystemMessage(unsigned long error_code) {
    FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error_code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<char*>(&text_), 0, nullptr);
  }
  ~SystemMessage() {
    if (text_ != nullptr) LocalFree(text_);
  }
  SystemMessage(const SystemMessage&) = delete;
  SystemMessage& operator=(const SystemMessage&) = delete;
  const char* text() const { return text_ != nullptr ? text_ : ""; }

 private:
  char* text_ = nullptr;
};

}  // namespace

std::string SystemErrorText(unsigned long error_code) { return SystemMessage(error_code).text(); }

void ShowSystemErrorBox(unsigned long error_code) {
  const SystemMessage message(error_code);
  MessageBoxA(nullptr, message.text(), texts::kErrorCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace kelvox

#endif  // __WXMSW__

// Windows: the error box as the system draws it: the system's message text for an error code
// in the user's language, in a message box titled "Error" with the information icon and no
// owner window.
#pragma once

#ifdef __WXMSW__

#include <string>

namespace kelvox {

// FormatMessage's text for `error_code` in the ANSI code page, trailing line breaks kept as the
// system gives them; empty when the system has no text for the code.
std::string SystemErrorText(unsigned long error_code);

// Shows the error box for `error_code` and waits until it is closed.
void ShowSystemErrorBox(unsigned long error_code);

}  // namespace kelvox

#endif  // __WXMSW__

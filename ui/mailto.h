// The contact link of the about box: a mailto address whose subject and body are filled in.
#pragma once

#include <string>
#include <string_view>

namespace kelvox {

// The mail body made from the version text: every " " becomes "%20", then every "\r\n"
// becomes "%0D%0A"; nothing else is escaped.
std::string EscapeMailBody(std::string_view version);

// "mailto:" + address + "?subject=" + subject + "&body=" + the escaped version. The subject
// goes in as it is (UTF-8 here, the system's own encoding).
std::string BuildContactMailto(std::string_view address, std::string_view subject,
                               std::string_view version);

}  // namespace kelvox

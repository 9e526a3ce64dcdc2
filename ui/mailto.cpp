#include "ui/mailto.h"

namespace kelvox {

namespace {
std::string ReplaceAll(std::string text, std::string_view what, std::string_view with) {
  for (std::size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
  return text;
}
}  // namespace

std::string EscapeMailBody(std::string_view version) {
  return ReplaceAll(ReplaceAll(std::string(version), " ", "%20"), "\r\n", "%0D%0A");
}

std::string BuildContactMailto(std::string_view address, std::string_view subject,
                               std::string_view version) {
  std::string link = "mailto:";
  link += address;
  link += "?subject=";
  link += subject;
  link += "&body=";
  link += EscapeMailBody(version);
  return link;
}

}  // namespace kelvox

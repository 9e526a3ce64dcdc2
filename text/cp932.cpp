#include "text/cp932.h"

#include <cerrno>
#include <iconv.h>

namespace kelvox {
namespace {

// One iconv conversion. On an invalid or unconvertible input sequence, either gives up
// (lossy == false) or writes `replacement` and skips one UTF-8 character.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   bool lossy) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  char buffer[256];
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  bool ok = true;
  while (left > 0) {
    char* dst = buffer;
    size_t room = sizeof buffer;
    const size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, dst - buffer);
    if (rc != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (!lossy) {
      ok = false;
      break;
    }
    // Skip one UTF-8 character: its lead byte and any continuation bytes.
    out.push_back(static_cast<char>(0x80));
    ++src;
    --left;
    while (left > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80) {
      ++src;
      --left;
    }
  }
  if (ok) {
    char* dst = buffer;
    size_t room = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &room);
    out.append(buffer, dst - buffer);
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8, false);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932, false);
}

std::string Utf8ToCp932Lossy(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8, true).value_or(std::string());
}

bool RoundTripsThroughCp932(std::string_view utf8) {
  const auto cp932 = Utf8ToCp932(utf8);
  if (!cp932) return false;
  const auto back = Cp932ToUtf8(*cp932);
  return back && *back == utf8;
}

}  // namespace kelvox

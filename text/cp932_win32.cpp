// Windows implementation of text/cp932.h: the system's own code page 932 tables, through
// MultiByteToWideChar and WideCharToMultiByte, with no best-fit substitutions, so a character
// CP932 cannot hold is refused rather than replaced by a look-alike.
#ifdef _WIN32

#include <windows.h>

#include "text/cp932.h"

namespace kelvox {
namespace {

constexpr UINT kCp932 = 932;

// UTF-16 form of `bytes` in `code_page`, or nothing when they are not valid in it.
std::optional<std::wstring> ToWide(UINT code_page, std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  const int size = static_cast<int>(bytes.size());
  const int length =
      MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
  return wide;
}

// `wide` in `code_page`, or nothing when some character has no form there.
std::optional<std::string> FromWide(UINT code_page, const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  // UTF-8 takes neither a default character nor the best-fit flag.
  const bool utf8 = code_page == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* used = utf8 ? nullptr : &used_default;
  const int length =
      WideCharToMultiByte(code_page, flags, wide.data(), size, nullptr, 0, nullptr, used);
  if (length <= 0 || used_default) return std::nullopt;
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(code_page, flags, wide.data(), size, bytes.data(), length, nullptr, used);
  if (used_default) return std::nullopt;
  return bytes;
}

std::optional<std::string> Convert(UINT to, UINT from, std::string_view in) {
  const std::optional<std::wstring> wide = ToWide(from, in);
  if (!wide) return std::nullopt;
  return FromWide(to, *wide);
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  return Convert(kCp932, CP_UTF8, utf8);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  return Convert(CP_UTF8, kCp932, cp932);
}

std::string Utf8ToCp932Lossy(std::string_view utf8) {
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    // One UTF-8 character: its lead byte and any continuation bytes.
    size_t end = i + 1;
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    const std::optional<std::string> one = Utf8ToCp932(utf8.substr(i, end - i));
    if (one) {
      out += *one;
    } else {
      out.push_back(static_cast<char>(0x80));
    }
    i = end;
  }
  return out;
}

bool RoundTripsThroughCp932(std::string_view utf8) {
  const auto cp932 = Utf8ToCp932(utf8);
  if (!cp932) return false;
  const auto back = Cp932ToUtf8(*cp932);
  return back && *back == utf8;
}

}  // namespace kelvox

#endif  // _WIN32

#include "text/one_line.h"

#include <cstddef>
#include <cstdint>

namespace kelvox {

namespace {

void AppendHexEscape(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

// A control character of 0x00-0x1F or 0x7F as OneLine writes it.
void AppendControlEscape(std::string& out, char c) {
  if (c == '\n') {
    out += "\\n";
  } else if (c == '\r') {
    out += "\\r";
  } else if (c == '\t') {
    out += "\\t";
  } else {
    AppendHexEscape(out, static_cast<unsigned char>(c));
  }
}

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// The length of the valid UTF-8 sequence of two or more bytes that starts at `at`, with its
// code point; 0 when the bytes there are not one.
size_t Utf8Sequence(std::string_view text, size_t at, uint32_t& code_point) {
  const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  size_t length = 0;
  uint32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    minimum = 0x80;
    code_point = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    minimum = 0x800;
    code_point = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    minimum = 0x10000;
    code_point = lead & 0x07u;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code_point = code_point << 6 | (byte(at + i) & 0x3Fu);
  }
  if (code_point < minimum || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    return 0;
  }
  return length;
}

}  // namespace

std::string OneLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (const char c : text) {
    if (IsControl(static_cast<unsigned char>(c))) {
      AppendControlEscape(line, c);
    } else {
      line += c;
    }
  }
  return line;
}

std::string TerminalText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const char c = text[at];
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      if (c == '\n' || !IsControl(byte)) {
        shown += c;
      } else {
        AppendControlEscape(shown, c);
      }
      ++at;
      continue;
    }
    uint32_t code_point = 0;
    const size_t length = Utf8Sequence(text, at, code_point);
    if (length == 0) {
      // One byte that starts no valid sequence; the next byte is looked at afresh.
      AppendHexEscape(shown, byte);
      ++at;
      continue;
    }
    for (size_t i = 0; i < length; ++i) {
      if (code_point <= 0x9F) {
        AppendHexEscape(shown, static_cast<unsigned char>(text[at + i]));
      } else {
        shown += text[at + i];
      }
    }
    at += length;
  }
  return shown;
}

}  // namespace kelvox

#include "options/help_document.h"

#include <vector>

namespace kelvox {

namespace {

// The paragraphs of a text: the runs of lines between blank lines.
std::vector<std::string_view> Paragraphs(std::string_view text) {
  std::vector<std::string_view> paragraphs;
  while (!text.empty()) {
    const size_t end = text.find("\n\n");
    std::string_view paragraph = text.substr(0, end);
    while (!paragraph.empty() && paragraph.back() == '\n') paragraph.remove_suffix(1);
    if (!paragraph.empty()) paragraphs.push_back(paragraph);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 2);
    while (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  }
  return paragraphs;
}

bool IsVerbatim(std::string_view paragraph) { return paragraph.starts_with("  "); }

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = text.find(separator, start);
    const std::string_view part =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!part.empty() || separator == '\n') parts.push_back(part);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

// The paragraph's words, wrapped into lines of at most `columns` (a longer word stands alone).
std::vector<std::string> WrappedLines(std::string_view paragraph, int columns) {
  std::vector<std::string> lines;
  std::string line;
  int used = 0;
  for (std::string_view word : Split(paragraph, ' ')) {
    std::string_view trimmed = word;
    while (!trimmed.empty() && trimmed.back() == '\n') trimmed.remove_suffix(1);
    for (std::string_view piece : Split(trimmed, '\n')) {
      if (piece.empty()) continue;
      const int width = DisplayWidth(piece);
      if (used > 0 && used + 1 + width > columns) {
        lines.push_back(line);
        line.clear();
        used = 0;
      }
      if (used > 0) {
        line += ' ';
        ++used;
      }
      line += piece;
      used += width;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// The lines of a text as printed `indent` blanks in: wrapped paragraphs and verbatim ones,
// `gap` between paragraphs ("\n" for a blank line, "" for none).
std::string IndentedText(std::string_view text, int indent, int width, std::string_view gap) {
  const std::string margin(static_cast<size_t>(indent), ' ');
  std::string out;
  bool first = true;
  for (std::string_view paragraph : Paragraphs(text)) {
    if (!first) out += gap;
    first = false;
    if (IsVerbatim(paragraph)) {
      for (std::string_view line : Split(paragraph, '\n')) {
        out += margin;
        out += line;
        out += '\n';
      }
      continue;
    }
    for (const std::string& line : WrappedLines(paragraph, width - indent)) {
      out += margin + line + '\n';
    }
  }
  return out;
}

// Whether the character starting with this code point is wide in a terminal.
bool IsWide(uint32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// A paragraph of running text as one roff line, `backquoted` words in bold.
std::string RoffRunningText(std::string_view paragraph) {
  std::string joined;
  for (std::string_view line : Split(paragraph, '\n')) {
    if (!joined.empty()) joined += ' ';
    joined += line;
  }
  std::string out;
  bool bold = false;
  size_t start = 0;
  for (size_t i = 0; i <= joined.size(); ++i) {
    if (i < joined.size() && joined[i] != '`') continue;
    std::string piece = RoffEscaped(std::string_view(joined).substr(start, i - start));
    // Only the text's own first character can start the line; escaped, it cannot.
    if (!out.empty() && piece.starts_with("\\&")) piece.erase(0, 2);
    out += piece;
    if (i < joined.size()) {
      out += bold ? "\\fR" : "\\fB";
      bold = !bold;
    }
    start = i + 1;
  }
  if (bold) out += "\\fR";
  return out + '\n';
}

// The paragraphs of a text as roff: the first after `first` (nothing when empty), every later
// one after `next`.
std::string RoffParagraphs(std::string_view text, std::string_view first, std::string_view next) {
  std::string out;
  bool at_first = true;
  for (std::string_view paragraph : Paragraphs(text)) {
    const std::string_view macro = at_first ? first : next;
    at_first = false;
    if (!macro.empty()) out += std::string(macro) + '\n';
    if (IsVerbatim(paragraph)) {
      out += ".nf\n";
      for (std::string_view line : Split(paragraph, '\n')) out += RoffEscaped(line) + '\n';
      out += ".fi\n";
    } else {
      out += RoffRunningText(paragraph);
    }
  }
  return out;
}

}  // namespace

int DisplayWidth(std::string_view text) {
  int width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;
    uint32_t code = byte;
    int more = 0;
    if (byte >= 0xF0) {
      code = byte & 0x07;
      more = 3;
    } else if (byte >= 0xE0) {
      code = byte & 0x0F;
      more = 2;
    } else if (byte >= 0xC0) {
      code = byte & 0x1F;
      more = 1;
    }
    for (int k = 1; k <= more && i + k < text.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    width += IsWide(code) ? 2 : 1;
  }
  return width;
}

std::string WrappedText(std::string_view text, int indent, int width) {
  return IndentedText(text, indent, width, "\n");
}

std::string OptionsText(std::span<const HelpOption> options, int width) {
  std::string out;
  for (const HelpOption& option : options) {
    std::string head = "  " + std::string(option.words);
    const std::string body = IndentedText(option.text, kOptionTextColumn, width, "");
    const int used = DisplayWidth(head);
    if (used + 1 < kOptionTextColumn && !body.empty()) {
      // The words, then the body's first line in its place on the same line.
      head += std::string(static_cast<size_t>(kOptionTextColumn - used), ' ');
      out += head + body.substr(static_cast<size_t>(kOptionTextColumn));
    } else {
      out += head + '\n' + body;
    }
  }
  return out;
}

std::string RoffEscaped(std::string_view text) {
  std::string out;
  if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

std::string RoffText(std::string_view text) { return RoffParagraphs(text, ".PP", ".PP"); }

std::string RoffOptions(std::span<const HelpOption> options) {
  std::string out;
  for (const HelpOption& option : options) {
    out += ".TP\n";
    // An option's own words in bold and what it takes in italics; an entry that is no option
    // (a command, a status, a line of a file) all in bold.
    const bool is_option = option.words.starts_with("-");
    std::string tag;
    for (std::string_view word : Split(option.words, ' ')) {
      if (!tag.empty()) tag += ' ';
      tag += !is_option || word.starts_with("-") ? "\\fB" : "\\fI";
      std::string escaped = RoffEscaped(word);
      // Not at the start of the line: a leading '.' needs no guard there.
      if (escaped.starts_with("\\&")) escaped.erase(0, 2);
      tag += escaped + "\\fR";
    }
    out += tag + '\n';
    out += RoffParagraphs(option.text, "", ".IP");
  }
  return out;
}

std::string RoffSection(const HelpSection& section) {
  std::string out = ".SH " + RoffEscaped(section.title) + '\n';
  out += RoffParagraphs(section.text, "", ".PP");
  out += RoffOptions(section.entries);
  return out;
}

}  // namespace kelvox

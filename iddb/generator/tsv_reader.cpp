#include "iddb/generator/tsv_reader.h"

#include <cstdio>

namespace kelvox::iddb_gen {

namespace {

std::string Message(std::string_view file, std::size_t line, std::string_view what) {
  std::string text(file);
  text += ':';
  text += std::to_string(line);
  text += ": ";
  text += what;
  return text;
}

// Length of the well-formed UTF-8 sequence starting at text[i], or 0 when it is not one
// (overlong forms, surrogates and code points above U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char min_second = 0x80;
  unsigned char max_second = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) min_second = 0xA0;  // overlong
    if (lead == 0xED) max_second = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) min_second = 0x90;  // overlong
    if (lead == 0xF4) max_second = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < min_second || byte(i + 1) > max_second) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

// Rejects control bytes and malformed UTF-8 anywhere in the raw line (tabs separate fields).
void CheckLineBytes(std::string_view file, std::size_t line_number, std::string_view line) {
  for (std::size_t i = 0; i < line.size();) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c == '\r') {
      throw DataError(file, line_number, "carriage return in the line (line ends must be LF)");
    }
    if ((c < 0x20 && c != '\t') || c == 0x7F) {
      char what[48];
      std::snprintf(what, sizeof what, "control byte 0x%02x in the line", c);
      throw DataError(file, line_number, what);
    }
    const std::size_t length = Utf8SequenceLength(line, i);
    if (length == 0) throw DataError(file, line_number, "text is not valid UTF-8");
    i += length;
  }
}

std::string DecodeField(std::string_view file, std::size_t line_number, std::string_view raw) {
  std::string decoded;
  decoded.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\\') {
      decoded += raw[i];
      continue;
    }
    if (i + 1 == raw.size()) {
      throw DataError(file, line_number, "backslash at the end of a field");
    }
    switch (raw[++i]) {
      case '\\':
        decoded += '\\';
        break;
      case 'n':
        decoded += '\n';
        break;
      case 't':
        decoded += '\t';
        break;
      default:
        throw DataError(file, line_number,
                        "unknown escape \\" + std::string(1, raw[i]) + " (only \\\\ \\n \\t)");
    }
  }
  return decoded;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
       tab = line.find('\t', start)) {
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

}  // namespace

DataError::DataError(std::string_view file, std::size_t line, std::string_view what)
    : std::runtime_error(Message(file, line, what)) {}

std::vector<TsvRow> ReadTsv(std::string_view file, std::string_view content,
                            std::size_t field_count) {
  std::vector<TsvRow> rows;
  std::size_t line_number = 0;
  std::size_t start = 0;
  while (start < content.size()) {
    ++line_number;
    std::size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    const std::string_view line = content.substr(start, end - start);
    start = end + 1;

    CheckLineBytes(file, line_number, line);
    const std::vector<std::string_view> raw = SplitFields(line);
    if (raw.size() != field_count) {
      throw DataError(file, line_number,
                      "expected " + std::to_string(field_count) + " tab-separated fields, found " +
                          std::to_string(raw.size()));
    }
    TsvRow row{line_number, {}};
    row.fields.reserve(raw.size());
    for (std::string_view field : raw) row.fields.push_back(DecodeField(file, line_number, field));
    rows.push_back(std::move(row));
  }
  if (rows.empty()) throw DataError(file, 1, "the file holds no rows");
  return rows;
}

}  // namespace kelvox::iddb_gen

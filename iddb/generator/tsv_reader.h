// Reading one tab-separated ID list: one row per line, a fixed number of fields per row, names
// with the escapes \\ \n \t decoded. Every fault is reported as "file:line: what".
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelvox::iddb_gen {

// A fault in a data file; what() is the whole "file:line: what" message.
class DataError : public std::runtime_error {
 public:
  DataError(std::string_view file, std::size_t line, std::string_view what);
};

struct TsvRow {
  std::size_t line;                 // 1-based line number in the file
  std::vector<std::string> fields;  // decoded
};

// The rows of `content` (a whole file named `file`), each with exactly `field_count` decoded
// fields. A last line without its line feed counts. Throws DataError on a file without rows, a
// wrong field count, an unknown escape, a control byte (carriage return, NUL, ...) or text that
// is not UTF-8.
std::vector<TsvRow> ReadTsv(std::string_view file, std::string_view content,
                            std::size_t field_count);

}  // namespace kelvox::iddb_gen

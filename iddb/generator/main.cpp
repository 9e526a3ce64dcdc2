// kelvox_iddb_gen VENDORS DEVICES CLASSES OUTPUT: turns the three PCI ID lists into the C++
// source of the embedded tables. On any fault it prints "file:line: what", exits with status 1
// and leaves OUTPUT as it was: the source is written to a temporary file that only replaces
// OUTPUT once it is complete.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "iddb/generator/id_lists.h"
#include "iddb/generator/table_source.h"
#include "iddb/generator/tsv_reader.h"

namespace {

using kelvox::iddb_gen::DataFile;

// Thrown for faults that are not in the data itself (a file that cannot be read or written).
struct FileError {
  std::string message;
};

DataFile ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError{path + ": cannot open: " + std::strerror(errno)};
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw FileError{path + ": cannot read"};
  return {path, content.str()};
}

void WriteAtomically(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError{temporary + ": cannot create: " + std::strerror(errno)};
    out << text;
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      throw FileError{temporary + ": cannot write"};
    }
  }
  // std::filesystem::rename replaces an existing file on Windows too, where std::rename fails.
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::remove(temporary.c_str());
    throw FileError{path + ": cannot replace: " + error.message()};
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: kelvox_iddb_gen VENDORS.tsv DEVICES.tsv CLASSES.tsv OUTPUT.cpp\n";
    return 2;
  }
  try {
    const kelvox::iddb_gen::IdLists lists =
        kelvox::iddb_gen::ParseIdLists(ReadWhole(argv[1]), ReadWhole(argv[2]), ReadWhole(argv[3]));
    WriteAtomically(argv[4], kelvox::iddb_gen::TableSource(lists));
  } catch (const kelvox::iddb_gen::DataError& error) {
    std::cerr << error.what() << '\n';
    return 1;
  } catch (const FileError& error) {
    std::cerr << error.message << '\n';
    return 1;
  }
  return 0;
}

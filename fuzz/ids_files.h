// The pci.ids text of a fuzz input as the program meets it on disk: written to a file of its
// own, and as a gzip-compressed copy beside it, both loaded by LoadPciIdsFile.
#pragma once

#include <string>
#include <string_view>

#include "iddb/pci_ids_reader.h"

namespace kelvox::fuzz {

struct LoadedFiles {
  std::string plain_path, packed_path;
  PciIdsRead plain;   // the file holding `text` as it is
  PciIdsRead packed;  // the file holding `text` gzip-compressed
};

// Writes `text` and its gzip form (zlib's `level`, 0 to 9: 0 stores it uncompressed) to two
// files in the temporary folder, named for this process so that parallel runs do not meet,
// loads both and removes them again. Aborts when the files cannot be written.
LoadedFiles LoadThroughFiles(std::string_view text, int level);

}  // namespace kelvox::fuzz

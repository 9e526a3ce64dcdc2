// Loads a pci.ids file from disk: plain text, or gzip-compressed (as some distributions ship
// pci.ids.gz), which is recognised by its first bytes and inflated through zlib.
#pragma once

#include <string>

#include "iddb/pci_ids_reader.h"

namespace kelvox {

// The list in the file at `path`, or a one-line message naming the file (and the line, for a
// malformed one): it cannot be opened or read, is compressed and this build has no zlib, or
// does not inflate.
PciIdsRead LoadPciIdsFile(const std::string& path);

// True when this build reads gzip-compressed lists.
bool ReadsCompressedIdLists();

}  // namespace kelvox

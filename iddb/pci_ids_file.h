// Loads a pci.ids file from disk: plain text, or gzip-compressed (as some distributions ship
// pci.ids.gz), which is recognised by its first bytes and inflated through zlib. The file is a
// file a user names (files/named_file.h): read whole into memory, up to 64 MiB, a FIFO without
// a writer given up after a second, a device node refused; the list then depends on the file no
// more, whatever happens to it.
#pragma once

#include <string>

#include "iddb/pci_ids_reader.h"

namespace kelvox {

// The list in the file at `path`, or a one-line message naming the file, its control bytes
// escaped (and the line, for a malformed one): it cannot be opened or read, is not a file or a
// pipe, is too large, is compressed and this build has no zlib, or does not inflate.
PciIdsRead LoadPciIdsFile(const std::string& path);

// True when this build reads gzip-compressed lists.
bool ReadsCompressedIdLists();

}  // namespace kelvox

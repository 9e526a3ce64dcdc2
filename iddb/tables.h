// The embedded PCI ID tables, generated at build time from iddb/data/*.tsv into constant data:
// the rows keep the lists' stored order and their duplicates, and nothing is built or loaded
// at run time.
#pragma once

#include <span>

#include "iddb/records.h"

namespace kelvox {

// Every vendor row, vendor IDs strictly ascending.
std::span<const VendorRecord> VendorTable();

// Every device row in stored order (not sorted; a (vendor, device) pair may occur more than once).
std::span<const DeviceRecord> DeviceTable();

// Every class-code row in stored order (a class code may occur more than once).
std::span<const ClassRecord> ClassTable();

}  // namespace kelvox

// Which PCI ID list the lookups of iddb/lookup.h answer from: the embedded list of 2005 (the
// default) or a list read from a pci.ids file. One list is in use at a time, for the whole
// program; callers of the lookups never need to know which.
#pragma once

#include <memory>
#include <string_view>

#include "iddb/pci_id_list.h"

namespace kelvox {

// The lookups answer from the embedded tables again.
void UseEmbeddedIdList();

// The lookups answer from `list` (null: the embedded tables). The list is kept alive while it
// is in use; a caller that switches back and forth and holds names it looked up keeps its own
// reference, since names are views into the list.
void UseIdList(std::shared_ptr<const PciIdList> list);

// The list in use, or null for the embedded tables.
const PciIdList* ActiveIdList();

}  // namespace kelvox

// Reads the text of a pci.ids file (pci.ids(5)) into a PciIdList: vendor lines, device lines
// (one tab), subsystem lines (two tabs), and the "C" class blocks with their sub-classes (one
// tab) and programming interfaces (two tabs). Blocks of any other letter are skipped with their
// lines; comments ("#"), blank lines, trailing blanks and CRLF line ends are accepted.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "iddb/pci_id_list.h"

namespace kelvox {

// The list read, or (list null) one line "NAME:LINE: what is wrong" for the first malformed
// line: a line indented outside any block, a device line before any vendor, an ID that is not
// 4 (class codes: 2) hexadecimal digits, an ID without a name, more than two tabs. What the
// message quotes of the line is at most 40 bytes ("…" marks the cut), control bytes escaped.
struct PciIdsRead {
  std::shared_ptr<const PciIdList> list;
  std::string error;
};

// Reads `text`, the whole file, which the list keeps; `name` is how messages name it.
PciIdsRead ReadPciIds(std::string text, std::string_view name);

// Reads `text` where it is (text another object holds), which stays valid while `keeper`
// lives; the list keeps `keeper`.
PciIdsRead ReadPciIds(std::string_view text, std::shared_ptr<const void> keeper,
                      std::string_view name);

}  // namespace kelvox

// The details sheet's capability page without its widgets: the header decoded and every
// capability as a tree of rows (capability, its registers, their fields), each a name and a
// value, and the text a row or the whole tree is copied as. The window draws these rows in a
// tree control; tests read them directly.
#pragma once

#include <string>
#include <vector>

#include "caps/capability.h"

namespace kelvox {

struct TreeRow {
  std::string name;   // "[50] Express (v2)", "LnkSta", "Speed"
  std::string value;  // "Endpoint, IntMsgNum 0", "Speed 8GT/s, Width x16", "8GT/s"
  std::vector<TreeRow> children;
};

// The rows of the page: first a node named `header_name` holding the header's decoded
// registers (none when `header` is empty), then one node per capability, its registers below
// it and their fields below them; a list's problem, a capability's problem, and the lack of
// any capability (`none_text`) are rows of their own. Where the bytes past the header could
// not be read there are no capability rows: the page says why beside the tree.
std::vector<TreeRow> CapabilityTree(const std::vector<CapField>& header,
                                    const CapabilityList& capabilities,
                                    const std::string& header_name, const std::string& none_text);

// A row as copied: "name: value" (or the name alone when there is no value), then its children
// indented by two blanks per level, every line ending in a newline.
std::string TreeRowText(const TreeRow& row, int depth = 0);

// Every row as copied, one after another.
std::string TreeText(const std::vector<TreeRow>& rows);

}  // namespace kelvox

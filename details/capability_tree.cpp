#include "details/capability_tree.h"

namespace kelvox {

namespace {

// A register's text on one line: lspci's further lines joined to the first by a blank.
std::string OneLine(const std::string& text) {
  std::string line;
  line.reserve(text.size());
  bool blank = false;
  for (char c : text) {
    if (c == '\n' || c == ' ') {
      blank = !line.empty();
      continue;
    }
    if (blank) line += ' ';
    blank = false;
    line += c;
  }
  return line;
}

TreeRow FieldRow(const CapField& field) {
  // A list the text shows (a link's lanes) is a row whose children are its entries.
  TreeRow row{std::string(field.label.empty() ? field.key : field.label),
              field.list ? "" : OneLine(field.text),
              {}};
  row.children.reserve(field.children.size());
  for (const CapField& child : field.children) {
    if (!child.list || child.shown) row.children.push_back(FieldRow(child));
  }
  return row;
}

std::string CapabilityName(const Capability& capability) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string offset;
  for (int shift = capability.extended ? 8 : 4; shift >= 0; shift -= 4) {
    offset += kDigits[capability.offset >> shift & 0xF];
  }
  std::string name = "[" + offset + "] " + capability.name;
  if (capability.version >= 0) name += " (v" + std::to_string(capability.version) + ")";
  return name;
}

void AppendLines(std::string& text, const TreeRow& row, int depth) {
  text.append(static_cast<size_t>(depth) * 2, ' ');
  text += row.name;
  if (!row.value.empty()) text += ": " + row.value;
  text += '\n';
  for (const TreeRow& child : row.children) AppendLines(text, child, depth + 1);
}

}  // namespace

std::vector<TreeRow> CapabilityTree(const std::vector<CapField>& header,
                                    const CapabilityList& capabilities,
                                    const std::string& header_name, const std::string& none_text) {
  std::vector<TreeRow> rows;
  if (!header.empty()) {
    TreeRow node{header_name, "", {}};
    for (const CapField& field : header) node.children.push_back(FieldRow(field));
    rows.push_back(std::move(node));
  }
  if (!capabilities.readable) return rows;
  for (const Capability& capability : capabilities.capabilities) {
    TreeRow node{CapabilityName(capability), capability.summary, {}};
    for (const CapField& field : capability.fields) {
      if (!field.list || field.shown) node.children.push_back(FieldRow(field));
    }
    if (!capability.problem.empty()) node.children.push_back({"!!", capability.problem, {}});
    rows.push_back(std::move(node));
  }
  if (capabilities.capabilities.empty() && capabilities.standard_problem.empty()) {
    rows.push_back({none_text, "", {}});
  }
  for (const std::string* problem :
       {&capabilities.standard_problem, &capabilities.extended_problem}) {
    if (!problem->empty()) rows.push_back({"!!", *problem, {}});
  }
  return rows;
}

std::string TreeRowText(const TreeRow& row, int depth) {
  std::string text;
  AppendLines(text, row, depth);
  return text;
}

std::string TreeText(const std::vector<TreeRow>& rows) {
  std::string text;
  for (const TreeRow& row : rows) AppendLines(text, row, 0);
  return text;
}

}  // namespace kelvox

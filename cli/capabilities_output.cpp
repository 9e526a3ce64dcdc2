#include "cli/capabilities_output.h"

#include "caps/cap_field.h"

namespace kelvox::cli {

namespace {

std::string OffsetText(const Capability& capability) {
  return "[" + Hex(static_cast<uint32_t>(capability.offset), capability.extended ? 3 : 2) + "]";
}

// A register's text: its label and first line, further lines indented under it.
void AppendRegister(std::string& text, const CapField& field, const std::string& indent) {
  std::string body = field.text;
  size_t start = 0;
  bool first = true;
  while (start <= body.size()) {
    const size_t end = body.find('\n', start);
    std::string line =
        body.substr(start, end == std::string::npos ? std::string::npos : end - start);
    while (!line.empty() && line.front() == ' ') line.erase(0, 1);
    if (first) {
      text += indent;
      if (!field.label.empty()) {
        text += field.label;
        text += field.joiner;
      }
    } else {
      text += indent + "    ";
    }
    text += line;
    // A register with nothing to say ends at its label, without a trailing blank.
    while (line.empty() && !text.empty() && text.back() == ' ') text.pop_back();
    text += "\n";
    first = false;
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

Json ValueJson(const CapField& field) {
  struct Visitor {
    const CapField& field;
    Json operator()(std::monostate) const { return field.text; }
    Json operator()(bool value) const { return value; }
    Json operator()(int64_t value) const { return value; }
    Json operator()(const std::string& value) const { return value; }
    Json operator()(const std::vector<std::string>& value) const { return value; }
    Json operator()(const std::vector<uint64_t>& value) const { return value; }
  };
  return std::visit(Visitor{field}, field.value);
}

Json FieldsJson(const std::vector<CapField>& fields) {
  Json object = Json::object();
  for (const CapField& field : fields) {
    if (field.list) {
      Json entries = Json::array();
      for (const CapField& entry : field.children) entries.push_back(FieldsJson(entry.children));
      object[field.key] = std::move(entries);
    } else {
      object[field.key] = field.children.empty() ? ValueJson(field) : FieldsJson(field.children);
    }
  }
  return object;
}

}  // namespace

std::string HeaderFieldsText(const std::vector<CapField>& fields) {
  if (fields.empty()) return "";
  std::string text = std::string("[") + kHeaderFieldsTitle + "]\n";
  for (const CapField& field : fields) AppendRegister(text, field, "  ");
  return text;
}

void AddHeaderFieldsJson(Json& document, const std::vector<CapField>& fields) {
  if (fields.empty()) {
    document["header"] = nullptr;
    return;
  }
  Json header = Json::object();
  Json regions = Json::array();
  for (const CapField& field : fields) {
    if (field.key == "region") {
      regions.push_back(FieldsJson(field.children));
    } else {
      header[field.key] = FieldsJson(field.children);
    }
  }
  header["regions"] = std::move(regions);
  document["header"] = std::move(header);
}

std::string CapabilitiesText(const CapabilityList& list) {
  std::string text = std::string("[") + kCapabilitiesTitle + "]\n";
  if (!list.readable) return text + "  " + list.unreadable + "\n";
  if (list.capabilities.empty() && list.standard_problem.empty()) text += "  なし\n";
  for (const Capability& capability : list.capabilities) {
    text += "  " + OffsetText(capability) + " " + capability.name;
    if (capability.version >= 0) text += " (v" + std::to_string(capability.version) + ")";
    if (!capability.summary.empty()) text += ": " + capability.summary;
    text += "\n";
    for (const CapField& field : capability.fields) {
      if (field.shown) AppendRegister(text, field, "    ");
    }
    if (!capability.problem.empty()) text += "    !! " + capability.problem + "\n";
  }
  if (!list.standard_problem.empty()) text += "  !! " + list.standard_problem + "\n";
  if (!list.extended_problem.empty()) text += "  !! " + list.extended_problem + "\n";
  return text;
}

void AddCapabilitiesJson(Json& document, const CapabilityList& list) {
  if (!list.readable) {
    document["capabilities"] = nullptr;
    document["capabilities_unreadable"] = list.unreadable;
    return;
  }
  Json capabilities = Json::array();
  for (const Capability& capability : list.capabilities) {
    Json entry = {{"offset", capability.offset},
                  {"id", capability.id},
                  {"extended", capability.extended},
                  {"version", capability.version >= 0 ? Json(capability.version) : Json()},
                  {"name", capability.name},
                  {"summary", capability.summary},
                  {"fields", FieldsJson(capability.fields)}};
    if (!capability.problem.empty()) entry["problem"] = capability.problem;
    capabilities.push_back(std::move(entry));
  }
  document["capabilities"] = std::move(capabilities);
  Json problems = Json::array();
  for (const std::string* problem : {&list.standard_problem, &list.extended_problem}) {
    if (!problem->empty()) problems.push_back(*problem);
  }
  if (!problems.empty()) document["capability_list_problems"] = std::move(problems);
}

}  // namespace kelvox::cli

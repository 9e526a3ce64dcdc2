// The capability decoder on any bytes, as a capture or a device may hold them: the input is a
// function's configuration space (at most 4096 bytes; its first byte past the header decides
// whether a reason is given for the bytes that are not there, and the dwords after it stand
// for the regions' sizing read-backs). The header is decoded too. Checked: the walk ends; every
// capability lies within the bytes; its texts hold no control character but the line breaks
// between a register's lines; and the text and JSON kelvox-cli makes of it stay bounded and
// valid.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "caps/capability_list.h"
#include "caps/header_fields.h"
#include "cli/capabilities_output.h"

namespace {

[[noreturn]] void Fails(const char* what, std::string_view detail) {
  std::fprintf(stderr, "caps: %s: %.*s\n", what, static_cast<int>(detail.size()), detail.data());
  std::abort();
}

void CheckText(std::string_view text, bool line_breaks) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && !(line_breaks && c == '\n')) || byte == 0x7F) Fails("a control byte", text);
  }
}

// The deepest a field lies: a list (a link's lanes), its entry, a register of the entry, its
// field.
void CheckFields(const std::vector<kelvox::CapField>& fields, int depth) {
  if (depth > 4) Fails("fields nested too deep", "");
  for (const kelvox::CapField& field : fields) {
    CheckText(field.label, false);
    CheckText(field.text, true);
    if (field.key.empty()) Fails("a field without a key", field.label);
    CheckFields(field.children, depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  std::vector<std::uint8_t> bytes(data, data + size);
  const std::string limit =
      size > 64 && (data[64] & 1) != 0 ? "読み取るには管理者権限が必要です" : "";
  const kelvox::ConfigSpace space(bytes, limit);
  const kelvox::CapabilityList list = kelvox::DecodeCapabilities(space, {0, 0, 0});
  // A list can name each dword of the space once at the most.
  if (list.capabilities.size() > size / 4 + 1)
    Fails("too many capabilities", std::to_string(list.capabilities.size()));
  for (const kelvox::Capability& capability : list.capabilities) {
    if (!space.Readable(capability.offset, 2))
      Fails("a capability outside the bytes", capability.name);
    CheckText(capability.name, false);
    CheckText(capability.summary, false);
    CheckText(capability.problem, false);
    CheckFields(capability.fields, 0);
  }
  // The header decoded, its regions sized by read-backs taken from the bytes past it.
  kelvox::RegionSizing sizing;
  for (size_t i = 0; i < sizing.size() && 64 + 4 * i + 4 <= size; ++i) {
    if ((data[64 + 4 * i] & 2) != 0) sizing[i] = space.Dword(static_cast<int>(64 + 4 * i));
  }
  const std::vector<kelvox::CapField> header = kelvox::DecodeHeaderFields(space, sizing);
  if (space.Readable(0, 64) == header.empty()) Fails("a header decoded or not", "");
  CheckFields(header, 0);
  const std::string text =
      kelvox::cli::HeaderFieldsText(header) + kelvox::cli::CapabilitiesText(list);
  if (text.size() > 2 * 1024 * 1024) Fails("the text is too long", std::to_string(text.size()));
  kelvox::cli::Json document = kelvox::cli::Json::object();
  kelvox::cli::AddHeaderFieldsJson(document, header);
  kelvox::cli::AddCapabilitiesJson(document, list);
  const std::string json = document.dump();
  if (kelvox::cli::Json::parse(json) != document)
    Fails("the JSON does not read back", json.substr(0, 200));
  return 0;
}

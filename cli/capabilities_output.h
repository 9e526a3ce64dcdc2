// The decoded header and the capabilities of `kelvox-cli details`. As text, two blocks after
// [システム]: the header's registers as lspci -v writes them ("Control: I/O- Mem+ ...",
// "Region 0: Memory at ..."), then one capability per line as "[OFFSET] NAME (vVERSION):
// SUMMARY" with its registers below, each as lspci writes it. As JSON, "header" and
// "capabilities" (see the README for the schema).
#pragma once

#include <string>
#include <vector>

#include "caps/capability.h"
#include "cli/json_output.h"

namespace kelvox::cli {

// The titles of the blocks.
inline constexpr char kHeaderFieldsTitle[] = "ヘッダ詳細";
inline constexpr char kCapabilitiesTitle[] = "ケイパビリティ";

// The header block, its title line first; nothing for a header that could not be read.
std::string HeaderFieldsText(const std::vector<CapField>& fields);

// Sets "header" in `document`: each register an object of its fields by key, and "regions" an
// array of the regions in order; null for a header that could not be read.
void AddHeaderFieldsJson(Json& document, const std::vector<CapField>& fields);

// The block, its title line first, every line ending in a newline.
std::string CapabilitiesText(const CapabilityList& list);

// Sets "capabilities" in `document` (an array, or null with "capabilities_unreadable" saying
// why), and "capability_list_problems" when a list ended early.
void AddCapabilitiesJson(Json& document, const CapabilityList& list);

}  // namespace kelvox::cli

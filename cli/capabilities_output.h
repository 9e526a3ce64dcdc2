// The capabilities of `kelvox-cli details`: as text, the block after [システム], one capability
// per line as "[OFFSET] NAME (vVERSION): SUMMARY" with its registers below, each as lspci writes
// it; as JSON, "capabilities" (see the README for the schema).
#pragma once

#include <string>

#include "caps/capability.h"
#include "cli/json_output.h"

namespace kelvox::cli {

// The title of the block.
inline constexpr char kCapabilitiesTitle[] = "ケイパビリティ";

// The block, its title line first, every line ending in a newline.
std::string CapabilitiesText(const CapabilityList& list);

// Sets "capabilities" in `document` (an array, or null with "capabilities_unreadable" saying
// why), and "capability_list_problems" when a list ended early.
void AddCapabilitiesJson(Json& document, const CapabilityList& list);

}  // namespace kelvox::cli

// kelvox-cli find: the names the vendor and device search window shows for a vendor ID, a
// device ID and a class code typed into it (search_answer.h), as text or as one JSON document.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "cli/json_output.h"
#include "cli/search_answer.h"

#include "cli/command.h"

namespace kelvox::cli {

inline constexpr std::string_view kFindSummary =
    "the names the search window gives IDs and class codes";

const CommandHelp& FindHelp();
std::span<const OptionSpec> FindOptions();

// The answer as text: per group asked for, "LABEL: INPUT" and the names beside it on lines of
// their own, indented by two blanks (two for a vendor or device, three for a class code).
std::string FindText(const SearchInput& input, const SearchAnswer& answer);

// The answer as the JSON fields "vendor", "device" and "class" (null when not asked for).
Json FindJson(const SearchInput& input, const SearchAnswer& answer);

// Parses `args` (--vendor, --device, --class, --json) and prints the answer; on bad input
// prints one line on `err`, nothing on `out`, and returns 2.
int FindCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli

// kelvox-cli details: the caption and every field of the device details sheet of one device
// number, as text (details_output.h) or as one JSON document.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "cli/access_option.h"
#include "cli/command.h"

namespace kelvox::cli {

inline constexpr std::string_view kDetailsSummary =
    "every field of the details sheet of a function";

const CommandHelp& DetailsHelp();
std::span<const OptionSpec> DetailsOptions();

// Parses `args` (an address or a device number, or a selection), opens the backend through
// `open`, builds the details (sizing the base address registers as the sheet does) and prints
// them; on bad input prints one line on `err`, nothing on `out`, and returns 2; a selection
// that chooses no function is named on `err`, and returns 1.
int RunDetails(std::span<const std::string> args, std::ostream& out, std::ostream& err,
               const AccessOpener& open);

// RunDetails with the real backends: the function the command table calls.
int DetailsCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli

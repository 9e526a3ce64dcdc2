// The --domain option of the commands that show one bus (scan, details): which PCI domain
// (segment) the bus is in. Its help is options/shared_options.h's, which the window shares.
#pragma once

#include <optional>
#include <string>

#include "config/access.h"
#include "options/args.h"
#include "options/shared_options.h"

namespace kelvox::cli {

// Selects in `access` the domain the options' --domain names (hexadecimal, "0x" allowed), else
// `from_address` (the domain an address or -s gave), else the starting domain
// (StartingDomain). Returns "" on success, else a one-line message (without the program and
// command names): a malformed number, two different domains asked for, or a domain that is not
// there, with the domains that are.
std::string UseDomainOption(const ParsedOptions& options, ConfigAccess& access,
                            std::optional<int> from_address = std::nullopt);

}  // namespace kelvox::cli

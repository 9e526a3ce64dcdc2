// The --domain option of the commands that show one bus (scan, details): which PCI domain
// (segment) the bus is in. Its help is options/shared_options.h's, which the window shares.
#pragma once

#include <string>

#include "config/access.h"
#include "options/args.h"
#include "options/shared_options.h"

namespace kelvox::cli {

inline constexpr OptionSpec kDomainOption{"--domain", OptionSpec::Kind::kText};

// Selects in `access` the domain the options' --domain names, or the starting domain when
// it is not given (StartingDomain). Returns "" on success, else a one-line message (without
// the program and command names): a malformed number, or a domain that is not there, with
// the domains that are.
std::string UseDomainOption(const ParsedOptions& options, ConfigAccess& access);

}  // namespace kelvox::cli

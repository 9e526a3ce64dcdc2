// The --domain option of the commands that show one bus (scan, details): which PCI domain
// (segment) the bus is in.
#pragma once

#include <string>
#include <string_view>

#include "cli/args.h"
#include "config/access.h"

namespace kelvox::cli {

inline constexpr OptionSpec kDomainOption{"--domain", OptionSpec::Kind::kText};

// How --domain reads in a command's help.
inline constexpr std::string_view kDomainOptionHelp =
    "  --domain N     PCI domain (segment), hexadecimal as lspci writes it, such as\n"
    "                 c0e3 (default 0000, or the lowest domain where there is none)\n";

// Selects in `access` the domain the options' --domain names, or the starting domain when
// it is not given (StartingDomain). Returns "" on success, else a one-line message (without
// the program and command names): a malformed number, or a domain that is not there, with
// the domains that are.
std::string UseDomainOption(const ParsedOptions& options, ConfigAccess& access);

}  // namespace kelvox::cli

// The --ids option of the commands that name things (list, details, find): which PCI ID list
// the names come from.
#pragma once

#include <string>
#include <string_view>

#include "cli/args.h"

namespace kelvox::cli {

inline constexpr OptionSpec kIdsOption{"--ids", OptionSpec::Kind::kText};

// How --ids reads in a command's help.
inline constexpr std::string_view kIdsOptionHelp =
    "  --ids X        which PCI ID list names vendors, devices, classes and subsystems:\n"
    "                   embedded  the list of 2005 built into the program (default)\n"
    "                   system    the distribution's pci.ids: the first of\n"
    "                             /usr/share/misc/pci.ids, /usr/share/hwdata/pci.ids,\n"
    "                             /usr/share/pci.ids\n"
    "                   FILE      a file in the pci.ids format, plain or gzip-compressed\n"
    "                             (a file called system or embedded: ./system)\n";

// Puts the list the options' --ids chooses in use for the lookups, or the embedded list when
// --ids is not given. Returns "" on success, else a one-line message (without the program
// and command names) naming the file and line, or the paths tried for "system".
std::string UseIdsOption(const ParsedOptions& options);

}  // namespace kelvox::cli

// The --source option of the commands that read configuration space: which backend to read
// through ("sysfs", "cfgmgr", "port", or a text dump file), or the machine's default one.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "config/access.h"
#include "config/access_source.h"

namespace kelvox::cli {

// Opens the backend for a --source value (nothing: the default backend). Commands take one as
// a parameter so tests can hand them a simulated bus.
using AccessOpener = std::function<OpenedAccess(const std::optional<std::string>& source)>;

// The real opener: the default backend, or the one `source` names.
OpenedAccess OpenSourceAccess(const std::optional<std::string>& source);

// How --source reads in a command's help.
inline constexpr std::string_view kSourceOptionHelp =
    "  --source X     where configuration space is read from:\n"
    "                   sysfs  the Linux files /sys/bus/pci/devices/*/config\n"
    "                   cfgmgr the Windows device manager: each function's IDs, class,\n"
    "                          revision, subsystem, ranges and interrupt line, as the\n"
    "                          header they imply (other registers read 0)\n"
    "                   port   I/O ports 0xCF8/0xCFC (configuration mechanism #1); where\n"
    "                          the system forbids port I/O every register reads all ones\n"
    "                   FILE   a bus captured as text in the format lspci -x and -xxx\n"
    "                          print (a file called sysfs, port or cfgmgr: ./sysfs, ...)\n"
    "                 default: sysfs when /sys/bus/pci/devices exists, cfgmgr on\n"
    "                 Windows, otherwise port I/O on x86, otherwise nothing (all ones).\n";

}  // namespace kelvox::cli

// The options both programs take, kelvox-cli and the window kelvox: --source (where
// configuration space is read from), --domain (which PCI domain) and --ids (which PCI ID list
// names things). How their usage lines write them and how their help explains them is written
// here once, so every usage and help text of either program names the same access methods and
// lists.
#pragma once

#include <string_view>

// The usage words of --source and --ids. Macros so that a usage text, a string literal, is
// joined with them when compiled: "kelvox-cli tree " KELVOX_SOURCE_USAGE " [--json]".
#define KELVOX_SOURCE_USAGE "[--source sysfs|port|cfgmgr|FILE]"
#define KELVOX_IDS_USAGE "[--ids embedded|system|FILE]"

namespace kelvox {

// What --source and --ids take, in a message saying the value is missing.
inline constexpr std::string_view kSourceTakes = "sysfs, port, cfgmgr or FILE";
inline constexpr std::string_view kIdsTakes = "embedded, system or FILE";

// How --source reads in a help text (config/access_source.h opens what it names).
inline constexpr std::string_view kSourceOptionHelp =
    "  --source X     where configuration space is read from:\n"
    "                   sysfs   the Linux files /sys/bus/pci/devices/*/config\n"
    "                   port    I/O ports 0xCF8/0xCFC (configuration mechanism #1);\n"
    "                           where the system forbids port I/O, every register\n"
    "                           reads all ones\n"
    "                   cfgmgr  the Windows device manager (Windows only): each\n"
    "                           function's IDs, class, revision, subsystem, ranges\n"
    "                           and interrupt line, as the header they imply (other\n"
    "                           registers read 0)\n"
    "                   FILE    a bus captured as text in the format lspci -x and\n"
    "                           -xxx print (a file called sysfs, port or cfgmgr:\n"
    "                           ./sysfs, ...)\n"
    "                 default: sysfs where /sys/bus/pci/devices exists, cfgmgr on\n"
    "                 Windows, else port I/O on x86, else nothing (all ones)\n";

// How --ids reads in a help text.
inline constexpr std::string_view kIdsOptionHelp =
    "  --ids X        the PCI ID list naming vendors, devices, classes, subsystems:\n"
    "                   embedded  the list of 2005 built into the program (default)\n"
    "                   system    the distribution's pci.ids: the first of\n"
    "                             /usr/share/misc/pci.ids, /usr/share/hwdata/pci.ids,\n"
    "                             /usr/share/pci.ids\n"
    "                   FILE      a file in the pci.ids format, plain or\n"
    "                             gzip-compressed (a file called system or\n"
    "                             embedded: ./system)\n";

// How --domain reads in a help text.
inline constexpr std::string_view kDomainOptionHelp =
    "  --domain N     PCI domain (segment), hexadecimal as lspci writes it, such as\n"
    "                 c0e3 (default 0000, or the lowest domain where there is none)\n";

}  // namespace kelvox

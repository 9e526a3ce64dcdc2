// The options both programs take, kelvox-cli and the window kelvox: --source (where
// configuration space is read from), --domain (which PCI domain) and --ids (which PCI ID list
// names things). How their usage lines write them and how their help explains them is written
// here once, so every usage, help text and manual page of either program names the same
// access methods and lists.
#pragma once

#include <string_view>

#include "options/args.h"
#include "options/help_document.h"

// The usage words of --source and --ids. Macros so that a usage text, a string literal, is
// joined with them when compiled: "kelvox-cli tree " KELVOX_SOURCE_USAGE " [--json]".
#define KELVOX_SOURCE_USAGE "[--source sysfs|sysfs:DIR|port|cfgmgr|FILE]"
#define KELVOX_IDS_USAGE "[--ids embedded|system|FILE]"

// What --ids takes, before each program says which list it uses by default.
#define KELVOX_IDS_VALUES_HELP                                             \
  "the PCI ID list that names vendors, devices, classes and subsystems:\n" \
  "\n"                                                                     \
  "  embedded  the list of 2005 built into the program\n"                  \
  "  system    the distribution's pci.ids: the first of\n"                 \
  "            /usr/share/misc/pci.ids, /usr/share/hwdata/pci.ids\n"       \
  "            and /usr/share/pci.ids\n"                                   \
  "  FILE      a file in the pci.ids format, plain or\n"                   \
  "            gzip-compressed (a file called system or\n"                 \
  "            embedded: ./system)\n"

namespace kelvox {

// What --source and --ids take, in a message saying the value is missing.
inline constexpr std::string_view kSourceTakes = "sysfs, sysfs:DIR, port, cfgmgr or FILE";
inline constexpr std::string_view kIdsTakes = "embedded, system or FILE";

inline constexpr OptionSpec kSourceSpec{"--source", OptionSpec::Kind::kText, 0, 0, kSourceTakes};
inline constexpr OptionSpec kIdsSpec{"--ids", OptionSpec::Kind::kText, 0, 0, kIdsTakes};
inline constexpr OptionSpec kDomainSpec{"--domain", OptionSpec::Kind::kText, 0, 0,
                                        "a hexadecimal domain number"};

// How --source reads in a help text (config/access_source.h opens what it names).
inline constexpr HelpOption kSourceHelp{
    "--source X",
    "where configuration space is read from:\n"
    "\n"
    "  sysfs   the Linux files /sys/bus/pci/devices/*/config, every\n"
    "          PCI domain; any user reads the header, root all of\n"
    "          each function's space\n"
    "  sysfs:DIR  the same under DIR in place of /sys: a copy of\n"
    "          another machine's /sys, as lspci -O sysfs.path=\n"
    "  port    I/O ports 0xCF8/0xCFC (configuration mechanism #1),\n"
    "          domain 0000 only; where the system forbids port I/O,\n"
    "          every register reads all ones\n"
    "  cfgmgr  the Windows device manager (Windows only): each\n"
    "          function's IDs, class, revision, subsystem, ranges\n"
    "          and interrupt line, as the header they imply (other\n"
    "          registers read 0)\n"
    "  FILE    a bus captured as text, as `capture` and lspci -x,\n"
    "          -xxx and -xxxx write it, every domain it holds (a\n"
    "          file called sysfs, port or cfgmgr: ./sysfs)\n"
    "\n"
    "Default: sysfs where /sys/bus/pci/devices exists, cfgmgr on Windows, else port I/O on "
    "x86, else nothing (every register reads all ones)."};

// How --domain reads in a help text.
inline constexpr HelpOption kDomainHelp{
    "--domain N",
    "the PCI domain (segment), in hexadecimal as lspci writes it (c0e3, or 0xc0e3); default "
    "0000, or the lowest domain where there is none"};

}  // namespace kelvox

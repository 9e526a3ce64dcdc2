#include "options/manual_sections.h"

#include <array>

namespace kelvox {

namespace {

constexpr std::array kAccessMethods = {
    HelpOption{"sysfs",
               "Linux: the files /sys/bus/pci/devices/DDDD:BB:DD.F/config of every PCI domain, "
               "one pread(2) per register. Any user may read registers 0x00-0x3F, so no "
               "privileges are needed. Base address sizes come from each function's resource "
               "file, never from a sizing write: writing a register while a driver uses the "
               "device can hang the machine. A bridge's bus numbers and windows are not sized."},
    HelpOption{"port",
               "PCI configuration mechanism #1 through the I/O ports 0xCF8 and 0xCFC, interrupts "
               "off around each access, for systems that let a program use the port "
               "instructions. Domain 0000 only (the mechanism has no segments). Linux and the "
               "Windows NT family forbid them: the fault is caught, every register reads all "
               "ones, as an empty slot does, and the programs say so once. Base address "
               "registers are sized by writing all ones into them, as the PCI standard "
               "describes."},
    HelpOption{"FILE",
               "a bus captured as text (see CAPTURE FORMAT), every domain it holds: a capture "
               "of one machine shows the same rows, details, ranges and tree anywhere."},
    HelpOption{"cfgmgr",
               "Windows: the device manager (SetupAPI and the configuration manager), which any "
               "program may ask. It lists each function with its IDs, class, location, ranges "
               "and interrupt, and the header those imply is shown (other registers read 0); "
               "domain 0000; nothing is ever written to a device."},
};

constexpr HelpSection kAccessMethodsSection{
    "ACCESS METHODS",
    "--source chooses how configuration space is read; the default is sysfs where "
    "/sys/bus/pci/devices exists, cfgmgr on Windows, port I/O on other x86 systems, and "
    "otherwise a method that reads all ones. Nothing the programs do writes a live device's "
    "registers behind its driver's back.",
    kAccessMethods};

constexpr std::array kCaptureLines = {
    HelpOption{"BB:DD.F CCCC: VVVV:DDDD (rev RR)",
               "the header line of a function: its address (DDDD:BB:DD.F, a domain of 4 to 8 hex "
               "digits, on every function once one is outside domain 0000), then any text."},
    HelpOption{"NN: xx xx ...",
               "up to 16 bytes of configuration space from offset NN (2 or 3 hex digits), as "
               "lspci -x, -xxx and -xxxx write them."},
    HelpOption{"# writable RR XXXXXXXX",
               "the bits of register RR (a multiple of 4 below 0x100) that a sizing write of "
               "all ones changes, worked out from the kernel's resource file; a register "
               "without such a line is read-only."},
    HelpOption{"# fact NAME VALUE",
               "what the system knows of the function, NAME as the sysfs file calls it (driver, "
               "modalias, irq, msi_irqs, enable, power_state, numa_node, iommu_group, "
               "current_link_speed, current_link_width, max_link_speed, max_link_width, "
               "parent); no VALUE for \"none\"."},
};

constexpr HelpSection kCaptureFormatSection{
    "CAPTURE FORMAT",
    "kelvox-cli capture writes, and --source FILE reads, the text lspci -x writes, which "
    "lspci -F reads too; lspci ignores the lines that start with #. Each function is a block "
    "of lines, and an empty line ends it. A malformed file is refused whole, with a message "
    "naming its line. A FIFO that nothing writes to within a second is given up, a device "
    "node is refused, and a file larger than the largest capture is not a capture.",
    kCaptureLines};

constexpr std::array kFiles = {
    HelpOption{"/sys/bus/pci/devices/*/",
               "the functions, their configuration space (config), "
               "their ranges (resource) and what the kernel knows "
               "of them (driver, irq, ...)"},
    HelpOption{"/usr/share/misc/pci.ids",
               "the distribution's PCI ID list (--ids system), "
               "else /usr/share/hwdata/pci.ids or "
               "/usr/share/pci.ids, plain or gzip-compressed"},
};

constexpr HelpSection kFilesSection{"FILES", "", kFiles};

constexpr std::array kEnvironment = {
    HelpOption{"KELVOX_IDS",
               "the PCI ID list when --ids is not given: embedded, system or a "
               "file. It sets the default of both programs: kelvox-cli names "
               "things from the distribution's list without it, the window "
               "from the embedded one."},
};

constexpr HelpSection kEnvironmentSection{"ENVIRONMENT", "", kEnvironment};

}  // namespace

const HelpSection& AccessMethodsSection() { return kAccessMethodsSection; }
const HelpSection& CaptureFormatSection() { return kCaptureFormatSection; }
const HelpSection& FilesSection() { return kFilesSection; }
const HelpSection& EnvironmentSection() { return kEnvironmentSection; }

std::string RoffPageHead(std::string_view program, std::string_view version,
                         std::string_view what) {
  std::string upper(program);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return ".TH " + RoffEscaped(upper) + " 1 \"\" \"" + RoffEscaped(program) + " " +
         RoffEscaped(version) + "\" \"User Commands\"\n.SH NAME\n" + RoffEscaped(program) +
         " \\- " + RoffEscaped(what) + "\n";
}

}  // namespace kelvox

#include "ui/app_manual_page.h"

#include <array>

#include "options/manual_sections.h"
#include "ui/app_options.h"

namespace kelvox {

namespace {

constexpr std::string_view kUse =
    "Set the bus (0 to 255) and the function (0 to 7) and press 再検索 (search again): the "
    "list shows the 32 device numbers of that bus and function, present or not. 詳細 (details), "
    "or a double-click on a row, opens the details sheet of that device: its vendor, device "
    "and class names, its base address ranges, its interrupt and timing registers, and what "
    "the system knows of it. PCIベンダー検索 (PCI vendor search) opens a window that names vendor "
    "IDs, "
    "device IDs and class codes as they are typed. The context menu (right click, Shift+F10 or "
    "the Menu key) holds the about box, and switches between PCI domains and ID lists where "
    "there is a choice.";

constexpr std::array kExitStatus = {
    HelpOption{"0", "the window was closed."},
    HelpOption{"1",
               "a bad argument, a --source that cannot be opened, a --domain it does not "
               "have, or no display."},
};

constexpr std::array kExamples = {
    HelpOption{"kelvox", "this machine, names from the list of 2005"},
    HelpOption{"kelvox --ids system", "today's names, from the distribution's list"},
    HelpOption{"kelvox --source bus.txt", "a bus captured with kelvox-cli capture"},
    HelpOption{"kelvox --domain c0e3", "open on PCI domain c0e3"},
};

constexpr HelpSection kUseSection{"USE", kUse};
constexpr HelpSection kExitStatusSection{"EXIT STATUS", "", kExitStatus};
constexpr HelpSection kExamplesSection{"EXAMPLES", "", kExamples};

}  // namespace

std::string AppManualPage(std::string_view version) {
  std::string page =
      RoffPageHead("kelvox", version, "search the PCI bus and show its devices in a window");
  page +=
      ".SH SYNOPSIS\n.B kelvox\n.RI [ \"--source X\" ]\n.RI [ \"--domain N\" ]\n"
      ".RI [ \"--ids X\" ]\n.RI [ \"--measure-startup\" ]\n.br\n.B kelvox \\-\\-help\n.br\n"
      ".B kelvox \\-\\-version\n";
  page += ".SH DESCRIPTION\n" + RoffText(AppDescription());
  page += RoffSection(kUseSection);
  page += ".SH OPTIONS\n" + RoffOptions(AppOptionsHelp());
  page += RoffSection(AccessMethodsSection());
  page += RoffSection(CaptureFormatSection());
  page += RoffSection(EnvironmentSection());
  page += RoffSection(FilesSection());
  page += RoffSection(kExitStatusSection);
  page += RoffSection(kExamplesSection);
  page += ".SH SEE ALSO\n.BR kelvox\\-cli (1),\n.BR lspci (8),\n.BR pci.ids (5)\n";
  return page;
}

}  // namespace kelvox

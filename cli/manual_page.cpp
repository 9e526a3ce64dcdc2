#include "cli/manual_page.h"

#include <array>
#include <vector>

#include "cli/commands.h"
#include "cli/common_options.h"
#include "cli/help_text.h"
#include "options/manual_sections.h"

namespace kelvox::cli {

namespace {

constexpr std::string_view kDescription =
    "kelvox-cli reads the PCI configuration space of this machine (or of a bus captured as "
    "text) and prints what it finds, as the window kelvox shows it: the rows of one bus, every "
    "present function with its names, the details sheet of a function, the functions as a "
    "tree, and the names the search window gives IDs. It takes addresses and selections as "
    "lspci(8) does, names things from the distribution's PCI ID list by default, and prints "
    "text or JSON.";

constexpr std::array kExitStatus = {
    HelpOption{"0", "success."},
    HelpOption{"1",
               "-s or -d chose no function (one line on standard error says so), or "
               "standard output could not be written."},
    HelpOption{"2",
               "bad input: an unknown command or option, a missing or malformed value, a "
               "number out of range, an unreadable or malformed file, an output file "
               "that cannot be written, or a backend that cannot be captured. One line "
               "starting \"kelvox-cli: \" goes to standard error and nothing to standard "
               "output."},
};

constexpr std::array kExamples = {
    HelpOption{"kelvox-cli list", "every function of the machine, named"},
    HelpOption{"kelvox-cli list -d 8086:", "the functions whose vendor is Intel (8086)"},
    HelpOption{"kelvox-cli list -s 00:1f", "the functions of device 1f on bus 00"},
    HelpOption{"kelvox-cli details 00:03.0", "the details sheet of function 00:03.0"},
    HelpOption{"kelvox-cli details -d ::0300", "the details of every display controller"},
    HelpOption{"kelvox-cli tree",
               "the functions under the bridges they hang from, with their "
               "drivers"},
    HelpOption{"kelvox-cli scan --bus 0x3", "the 32 rows of bus 3, as the window lists them"},
    HelpOption{"kelvox-cli find --vendor 10de --device 2204", "the names of an ID pair"},
    HelpOption{"kelvox-cli capture -o bus.txt",
               "the bus as text; then kelvox-cli tree --source "
               "bus.txt (or kelvox --source bus.txt) shows it "
               "anywhere"},
    HelpOption{"kelvox-cli list --json --ids embedded",
               "every function as JSON, named from the "
               "list of 2005"},
};

constexpr HelpSection kExitStatusSection{"EXIT STATUS", "", kExitStatus};
constexpr HelpSection kExamplesSection{"EXAMPLES", "", kExamples};

}  // namespace

std::string CliManualPage(std::string_view version) {
  std::string page =
      RoffPageHead("kelvox-cli", version, "show the PCI bus of this machine as text");
  page += ".SH SYNOPSIS\n";
  for (const Command& command : Commands()) {
    page += ".B " + RoffEscaped(CommandUsage(command)) + "\n.br\n";
  }
  page += ".B kelvox\\-cli help\n.RI [ COMMAND ]\n.br\n.B kelvox\\-cli \\-\\-version\n";
  page += ".SH DESCRIPTION\n" + RoffText(kDescription);
  page += ".SH COMMANDS\n";
  for (const Command& command : Commands()) {
    const CommandHelp& help = command.help();
    page += ".SS " + RoffEscaped(command.name) + "\n";
    page += ".B " + RoffEscaped(CommandUsage(command)) + "\n";
    page += RoffText(help.description);
    if (!help.options.empty()) page += ".PP\n" + RoffOptions(help.options);
  }
  const std::vector<HelpOption> common = CommonHelp(~0u);
  std::vector<HelpOption> options(common.begin(), common.end());
  options.push_back({"-h, --help", "print the overview, or with a command its whole help"});
  options.push_back({"-V, --version", "print the version"});
  page += ".SH OPTIONS\n" +
          RoffText(
              "These options are taken by the commands whose synopsis shows "
              "them.") +
          RoffOptions(options);
  page += RoffSection(AccessMethodsSection());
  page += RoffSection(CaptureFormatSection());
  page += RoffSection(EnvironmentSection());
  page += RoffSection(FilesSection());
  page += RoffSection(kExitStatusSection);
  page += RoffSection(kExamplesSection);
  page += ".SH SEE ALSO\n.BR kelvox (1),\n.BR lspci (8),\n.BR pci.ids (5)\n";
  return page;
}

}  // namespace kelvox::cli

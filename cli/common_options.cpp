#include "cli/common_options.h"

#include <array>
#include <string>
#include <vector>

namespace kelvox::cli {

namespace {

constexpr std::array kCommonOptions = {
    CommonOptionHelp{kSelectOptions,
                     "[-s SLOT]",
                     {"-s [[DDDD:]BB:]DD[.F]",
                      "only the functions at this place, written as lspci -s takes it: "
                      "domain, bus, device and function in hexadecimal (00:03.0, "
                      "0000:00:03.0, 03, 00:, .1); a part left out, left empty or written * "
                      "matches any"},
                     {"-s SLOT", "functions at a place, as lspci -s: 00:03.0, 03, .1"}},
    CommonOptionHelp{kSelectOptions,
                     "[-d IDS]",
                     {"-d [VVVV]:[DDDD][:CCCC]",
                      "only the functions with these IDs, as lspci -d takes them: vendor, "
                      "device and class (base class and sub-class, the first four digits of "
                      "the class code) in hexadecimal (1af4:, 8086:1237, ::0200); a part left "
                      "out matches any. With -s too, a function must match both"},
                     {"-d IDS", "functions with IDs, as lspci -d: 1af4:, ::0200"}},
    CommonOptionHelp{kDomainFlag,
                     "[-D]",
                     {"-D",
                      "write every address with its domain (DDDD:BB:DD.F), as lspci -D "
                      "does; without it, only once a function lies outside domain 0000"},
                     {"-D", "every address with its domain"}},
    CommonOptionHelp{kDomainOption,
                     "[--domain N]",
                     kDomainHelp,
                     {"--domain N", "the PCI domain of one bus (hexadecimal)"}},
    CommonOptionHelp{kSourceOption,
                     "[--source X]",
                     kSourceHelp,
                     {"--source X", "sysfs[:DIR], port, cfgmgr or a captured FILE"}},
    CommonOptionHelp{kIdsOption,
                     "[--ids X]",
                     {"--ids X", KELVOX_IDS_VALUES_HELP
                      "\n"
                      "Default: what the environment variable KELVOX_IDS names (embedded, "
                      "system or a file), else system where one of its files exists, else "
                      "embedded."},
                     {"--ids X", "the names: embedded, system or a pci.ids FILE"}},
    CommonOptionHelp{kJsonOption,
                     "[--json]",
                     {"--json",
                      "print one JSON document instead of text (its schema: the "
                      "README, section JSON)"},
                     {"--json", "one JSON document instead of text"}},
};

}  // namespace

std::span<const CommonOptionHelp> CommonOptions() { return kCommonOptions; }

std::string CommonUsage(unsigned which) {
  std::string usage;
  for (const CommonOptionHelp& option : kCommonOptions) {
    if ((which & option.which) == 0) continue;
    usage += ' ';
    usage += option.usage;
  }
  return usage;
}

std::vector<HelpOption> CommonHelp(unsigned which) {
  std::vector<HelpOption> help;
  for (const CommonOptionHelp& option : kCommonOptions) {
    if ((which & option.which) != 0) help.push_back(option.help);
  }
  return help;
}

}  // namespace kelvox::cli

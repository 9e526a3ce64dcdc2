// The options several kelvox-cli commands take, each explained once: the selection of
// functions (-s, -d) and of how addresses are written (-D), where configuration space is read
// from (--source), which domain (--domain), which PCI ID list names things (--ids), and JSON
// output (--json). A command's help prints the ones it takes once, after its own.
#pragma once

#include <span>
#include <string_view>

#include "options/args.h"
#include "options/help_document.h"
#include "options/shared_options.h"

namespace kelvox::cli {

// Which of them a command takes: bits of CommandHelp::common.
enum CommonOption : unsigned {
  kSelectOptions = 1u << 0,  // -s and -d
  kDomainFlag = 1u << 1,     // -D
  kDomainOption = 1u << 2,   // --domain
  kSourceOption = 1u << 3,   // --source
  kIdsOption = 1u << 4,      // --ids
  kJsonOption = 1u << 5,     // --json
};

inline constexpr OptionSpec kSlotSpec{"-s", OptionSpec::Kind::kText, 0, 0, "[[DDDD:]BB:]DD[.F]"};
inline constexpr OptionSpec kIdSpec{"-d", OptionSpec::Kind::kText, 0, 0, "[VVVV]:[DDDD][:CCCC]"};
inline constexpr OptionSpec kDomainFlagSpec{"-D", OptionSpec::Kind::kFlag};
inline constexpr OptionSpec kJsonSpec{"--json", OptionSpec::Kind::kFlag};

struct CommonOptionHelp {
  CommonOption which;
  std::string_view usage;  // its words in a usage line: "[-s SLOT]"
  HelpOption help;
  // One line for the overview of --help.
  HelpOption summary;
};

// Every common option, in the order help texts list them.
std::span<const CommonOptionHelp> CommonOptions();

// The usage words of the common options in `which`, a blank before each.
std::string CommonUsage(unsigned which);

// The help entries of the common options in `which`.
std::vector<HelpOption> CommonHelp(unsigned which);

}  // namespace kelvox::cli

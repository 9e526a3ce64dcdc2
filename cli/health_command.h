// kelvox-cli health: every PCI Express link and function checked (health/link_health.h), one
// line per finding, worst first, then a summary; exit status 1 when something is found.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/access_option.h"
#include "cli/command.h"
#include "health/link_health.h"

namespace kelvox::cli {

inline constexpr std::string_view kHealthSummary =
    "slow links, AER errors, functions without a driver; --watch";

const CommandHelp& HealthHelp();
std::span<const OptionSpec> HealthOptions();

// What the health check is made of, read through `access`: every present function of every
// domain in tree order, each with the index of the bridge it hangs from, its link (sysfs's
// link files, else its PCI Express registers), its error counters and AER status bits, its
// driver and power state. A function asleep in D3cold is not woken: only what the system
// keeps of it is used. The functions the system cannot place in a bus come last, at the top.
std::vector<health::HealthFunction> GatherHealth(ConfigAccess& access, bool with_domains);

// The JSON document of the findings.
std::string HealthJson(ConfigAccess& access, const std::vector<health::HealthFunction>& functions,
                       const std::vector<health::Finding>& findings);

// Parses `args` (--source, --ids, --json, --format, -o, -D), checks and prints or writes;
// returns 0 when nothing was found, 1 when something was, 2 on bad input or a file that
// could not be written.
int RunHealth(std::span<const std::string> args, std::ostream& out, std::ostream& err,
              const AccessOpener& open);

int HealthCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli

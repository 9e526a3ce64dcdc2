// kelvox-cli health --watch: the bus sampled at an interval from sysfs's files alone (no
// configuration register is read past what listing the functions reads), a timestamped line
// for each change (health/watch_changes.h), and at the end, after --count samples or Ctrl+C,
// the changes counted per function.
#pragma once

#include <iosfwd>
#include <optional>

#include "config/access.h"
#include "health/watch_changes.h"

namespace kelvox::cli {

// One sample of every present function: its link now, its driver and its error counters.
health::BusSample SampleBus(ConfigAccess& access, bool with_domains);

// Samples every `seconds` until `count` samples were taken (nothing: until SIGINT or SIGTERM,
// which end it cleanly), writing each change as it is seen and then the summary. Returns 0
// when nothing changed, 1 when something did.
int WatchBus(ConfigAccess& access, bool with_domains, double seconds, std::optional<long> count,
             std::ostream& out);

}  // namespace kelvox::cli

// kelvox-cli's tree and details run on a bus the capture reader accepted, as a user runs them
// on a capture file: each must succeed, stay within a bounded size, print no control byte but
// the line break, and its text and JSON forms must tell the same story.
#pragma once

#include "config/capture/simulated_bus.h"

namespace kelvox::fuzz {

// `tree` and `tree --json` on `bus`: every present function exactly once, the text's lines
// and the JSON's nodes the same functions at the same depths in the same order. Aborts with a
// report on the first fault.
void CheckTree(const SimulatedBus& bus);

// `details` and `details --json` on some of the bus's functions (and on one place where none
// is): exit status 0, the place asked for in the JSON, and bounded output. Aborts with a
// report on the first fault.
void CheckDetails(const SimulatedBus& bus);

}  // namespace kelvox::fuzz

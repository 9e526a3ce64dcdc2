// The rows of `kelvox-cli scan --json`: each device row's texts with the register values they
// were formatted from.
#pragma once

#include "cli/json_output.h"
#include "config/access.h"

namespace kelvox::cli {

// The 32 rows of the bus and function as a JSON array (see the README for the schema), built
// from the same reads as the text rows: one BuildDeviceRow per device number.
Json ScanJson(ConfigAccess& access, int bus, int function);

}  // namespace kelvox::cli

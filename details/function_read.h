// Everything the details sheet and `kelvox-cli details` show of one function, read in one go:
// its header once (every field made of it is answered from that one read), the bytes its
// capabilities lie in, then the pages' texts with the base address registers sized, the header
// decoded as lspci -v decodes it, and the capabilities.
#pragma once

#include <vector>

#include "caps/capability.h"
#include "caps/config_space.h"
#include "config/access.h"
#include "config/recording_access.h"
#include "details/device_details.h"

namespace kelvox {

struct FunctionRead {
  DeviceDetails details;
  // Every access the pages made, in order: the register values and sizing answers they used.
  std::vector<ConfigAccessRecord> records;
  ConfigSpace space;             // the bytes read for the capabilities
  std::vector<CapField> header;  // the header's registers decoded, its regions sized
  CapabilityList capabilities;
};

// Reads the function at `at` (in its own domain, which must be the access's selected one).
FunctionRead ReadFunction(ConfigAccess& access, FunctionLocation at);

}  // namespace kelvox

// A function's PCI Express link as the terminal's health, watch and diff read it: sysfs's
// link files where the system has them, else the PCI Express capability's registers.
#pragma once

#include <optional>
#include <string>

#include "caps/capability.h"
#include "caps/config_space.h"
#include "config/function_facts.h"
#include "health/link_health.h"

namespace kelvox::cli {

// "16.0 GT/s PCIe" -> 16; 0 for "Unknown" or anything else.
double SysfsSpeed(const std::optional<std::string>& text);

// The link as sysfs's files give it; zeros where they do not.
health::LinkState LinkFromFacts(const FunctionFacts& facts);

// What the PCI Express capability's registers say: the port type, and into `link` whatever
// it does not know yet (LnkCap, the LnkCap2 speeds vector, LnkSta); DL_Active where the port
// reports it, and whether the link is training. Nothing for a function without the
// capability or whose registers could not be read.
struct ExpressRegisters {
  int port_type = -1;
  std::optional<bool> link_active;
  bool link_training = false;
};
std::optional<ExpressRegisters> ReadExpressLink(const ConfigSpace& space,
                                                const CapabilityList& list,
                                                health::LinkState& link);

}  // namespace kelvox::cli

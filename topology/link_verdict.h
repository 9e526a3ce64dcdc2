// The line "リンクの判定" of the details sheet's システム page: what the health check finds of
// one function's PCI Express link, judged with the ports at both of its ends.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/access.h"
#include "health/link_health.h"

namespace kelvox::topology {

// The verdict for the function at `at`: "正常", or the texts of the link findings on it (as
// the device below a link, or as the port above one), " / " between; nothing when the function
// has no link or is not among `functions`.
std::optional<std::string> LinkVerdict(const std::vector<health::HealthFunction>& functions,
                                       const std::vector<health::Finding>& findings,
                                       FunctionLocation at);

// The same from the bus as `access` reads it now (in every domain).
std::optional<std::string> ReadLinkVerdict(ConfigAccess& access, FunctionLocation at);

}  // namespace kelvox::topology

// The health check as metrics in the text exposition format node exporter's textfile
// collector reads (and Prometheus scrapes), ending "# EOF" as OpenMetrics does: per function
// an info metric with its address, IDs, class, driver and names as labels, its link's speed
// (GT/s) and width now and at most, its AER counters as counters; per finding a gauge; and
// whether anything was found.
#pragma once

#include <string>
#include <vector>

#include "health/link_health.h"

namespace kelvox::cli {

std::string HealthMetrics(const std::vector<health::HealthFunction>& functions,
                          const std::vector<health::Finding>& findings);

// `text` as a label value: backslash, double quote and line feed escaped as the format
// asks, other control bytes written as blanks so that none reaches the file raw.
std::string LabelValue(std::string_view text);

}  // namespace kelvox::cli

// Reading the kernel's AER counters from a function's sysfs folder: `aer_dev_correctable`,
// `aer_dev_nonfatal` and `aer_dev_fatal` ("NAME COUNT" a line, the last TOTAL_ERR_*), and a
// root port's `aer_rootport_total_err_cor`, `..._nonfatal` and `..._fatal` (one count each).
// Any user may read them; a kernel without AER, or a device without the capability, has none.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/error_counters.h"
#include "config/sysfs/sysfs_facts.h"

namespace kelvox {

// The counters of one file's text, each in `group`: the lines "NAME COUNT" whose name is
// letters, digits and underscores (at most 40) and whose count is a decimal number that fits
// 64 bits; any other line is left out.
std::vector<ErrorCounter> ParseErrorCounters(std::string_view text, std::string_view group);

// The counters of the function whose folder is `folder`, in the files' order; none where the
// files are not there.
std::vector<ErrorCounter> ReadSysfsErrorCounters(const std::string& folder,
                                                 const FactsOpenFunction& open);

}  // namespace kelvox

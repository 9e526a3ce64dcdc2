// Reading a function's facts (function_facts.h) from its sysfs folder: the `driver` and
// `iommu_group` links, the small files `modalias`, `irq`, `enable`, `power_state`,
// `numa_node` and the four link files, the entries of `msi_irqs/`, and the folder the
// function's own folder sits in, which is its bridge's (or the host bridge's, "pci0000:00").
// Any user may read all of them.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "config/function_facts.h"

namespace kelvox {

// Opens a file as open(2) does (the sysfs access's own stand-in in tests).
using FactsOpenFunction = std::function<int(const std::string& path, int flags)>;

// The text of a small file the kernel writes (one short line), without its line end; nothing
// when it cannot be opened or read, or holds more than `limit` bytes.
std::optional<std::string> ReadSysfsLine(const std::string& path, const FactsOpenFunction& open,
                                         size_t limit);

// The facts of the function whose folder is `folder`; nothing when the folder is not there.
// A file that is missing or does not parse leaves its fact unknown; a missing `driver` link
// means no driver is bound, a missing `msi_irqs/` no vector in use, a missing `iommu_group`
// no group.
// Only the facts of `wanted` (FactGroup bits) are read; the others stay unknown.
std::optional<FunctionFacts> ReadSysfsFacts(const std::string& folder,
                                            const FactsOpenFunction& open,
                                            unsigned wanted = kEveryFact);

}  // namespace kelvox

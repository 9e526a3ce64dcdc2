// The register values a formatting step read, taken from a recording of its accesses
// (config/recording_access.h), so a --json document can give the very numbers its texts were
// made from without reading the device a second time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "config/recording_access.h"

namespace kelvox {

// The value of the first read of register `reg`, or nothing when it was not read.
std::optional<uint32_t> FirstRead(std::span<const ConfigAccessRecord> records, int reg);

// The value of the first read of `reg` that follows a write to it (what a base address
// register read back when it was sized), or nothing.
std::optional<uint32_t> ReadAfterWrite(std::span<const ConfigAccessRecord> records, int reg);

}  // namespace kelvox

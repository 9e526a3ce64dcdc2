#include "config/recorded_reads.h"

namespace kelvox {

std::optional<uint32_t> FirstRead(std::span<const ConfigAccessRecord> records, int reg) {
  for (const ConfigAccessRecord& r : records) {
    if (r.kind == ConfigAccessRecord::Kind::kRead && r.reg == reg) return r.value;
  }
  return std::nullopt;
}

std::optional<uint32_t> ReadAfterWrite(std::span<const ConfigAccessRecord> records, int reg) {
  bool written = false;
  for (const ConfigAccessRecord& r : records) {
    if (r.reg != reg) continue;
    if (r.kind == ConfigAccessRecord::Kind::kWrite) written = true;
    if (r.kind == ConfigAccessRecord::Kind::kRead && written) return r.value;
  }
  return std::nullopt;
}

}  // namespace kelvox

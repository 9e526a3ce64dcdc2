#include "cli/subsystem_name.h"

#include "iddb/lookup.h"
#include "iddb/name_source.h"

namespace kelvox::cli {

bool IdListNamesSubsystems() { return ActiveIdList() != nullptr; }

std::optional<std::string_view> SubsystemName(uint32_t reg00, uint32_t reg0c, uint32_t reg2c) {
  if (((reg0c >> 16) & 0x7F) != 0) return std::nullopt;
  std::string_view name;
  if (!FindSubsystemName(reg00 & 0xFFFF, reg00 >> 16, reg2c & 0xFFFF, reg2c >> 16, name)) {
    return std::nullopt;
  }
  return name;
}

}  // namespace kelvox::cli

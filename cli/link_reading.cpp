#include "cli/link_reading.h"

#include <cstdlib>

namespace kelvox::cli {

namespace {

// A link speed code of LnkCap, LnkSta or the LnkCap2 vector's bit: 1 is 2.5 GT/s.
double CodeSpeed(int code) {
  static constexpr double kSpeeds[] = {0, 2.5, 5, 8, 16, 32, 64};
  return code >= 0 && code < 7 ? kSpeeds[code] : 0;
}

}  // namespace

double SysfsSpeed(const std::optional<std::string>& text) {
  if (!text || text->empty()) return 0;
  char* end = nullptr;
  const double speed = std::strtod(text->c_str(), &end);
  if (end == text->c_str() || speed <= 0 || speed > 1000) return 0;
  return speed;
}

health::LinkState LinkFromFacts(const FunctionFacts& facts) {
  health::LinkState link;
  link.max_speed = SysfsSpeed(facts.max_link_speed);
  link.speed = SysfsSpeed(facts.current_link_speed);
  link.max_width = facts.max_link_width.value_or(0);
  link.width = facts.current_link_width.value_or(0);
  return link;
}

std::optional<ExpressRegisters> ReadExpressLink(const ConfigSpace& space,
                                                const CapabilityList& list,
                                                health::LinkState& link) {
  for (const Capability& capability : list.capabilities) {
    if (capability.extended || capability.id != 0x10) continue;
    const int at = capability.offset;
    if (!space.Readable(at, 0x14)) return std::nullopt;
    ExpressRegisters registers;
    registers.port_type = space.Word(at + 2) >> 4 & 0xF;
    const uint32_t link_capabilities = space.Dword(at + 0x0C);
    const uint16_t status = space.Word(at + 0x12);
    double max_speed = CodeSpeed(static_cast<int>(link_capabilities & 0xF));
    if (space.Readable(at + 0x2C, 4)) {
      const uint32_t vector = space.Dword(at + 0x2C) >> 1 & 0x7F;
      for (int bit = 6; bit >= 0; --bit) {
        if ((vector >> bit & 1) != 0) {
          max_speed = CodeSpeed(bit + 1);
          break;
        }
      }
    }
    if (link.max_speed == 0) link.max_speed = max_speed;
    if (link.max_width == 0) link.max_width = static_cast<int>(link_capabilities >> 4 & 0x3F);
    if (link.speed == 0) link.speed = CodeSpeed(status & 0xF);
    if (link.width == 0) link.width = status >> 4 & 0x3F;
    // DL_Active means something only where the port says it reports it.
    if ((link_capabilities & (1u << 20)) != 0) registers.link_active = (status & (1u << 13)) != 0;
    registers.link_training = (status & (1u << 11)) != 0;
    return registers;
  }
  return std::nullopt;
}

}  // namespace kelvox::cli

#include "scan/class_comment.h"

#include "scan/class_names.h"

namespace kelvox {

std::string ClassComment(uint32_t class_register) {
  const auto base = static_cast<uint8_t>(class_register >> 24);
  const auto sub = static_cast<uint8_t>(class_register >> 16);
  std::string comment(BaseClassName(base));
  comment += SubClassName(base, sub);
  return comment;
}

}  // namespace kelvox

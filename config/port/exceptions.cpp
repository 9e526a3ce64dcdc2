#include "config/port/exceptions.h"

namespace kelvox {

void ThrowStructuredException(uint32_t code, const void* address) {
  switch (code) {
    case kExceptionAccessViolation:
      throw access_violation(address);
    case kExceptionFltDivideByZero:
    case kExceptionIntDivideByZero:
      throw divide_by_zero(address);
    case kExceptionPrivInstruction:
      throw priv_instruction(address);
    default:
      throw structured_exception(address);
  }
}

}  // namespace kelvox

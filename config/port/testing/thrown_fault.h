// For fault-translator tests on every platform: runs a body under the translator and keeps
// what it threw (class, recorded faulting address, text) so tests can compare it.
#pragma once

#include <string>
#include <typeinfo>

#include "config/port/exceptions.h"
#include "config/port/fault_translator.h"

namespace kelvox::testing {

struct Thrown {
  const std::type_info* type = nullptr;  // null when nothing was thrown
  const void* address = nullptr;
  std::string what;
};

template <typename Body>
Thrown RunAndCatch(Body body) {
  Thrown thrown;
  try {
    RunTranslatingFaults(body);
  } catch (const structured_exception& e) {
    thrown.type = &typeid(e);
    thrown.address = e.address();
    thrown.what = e.what();
  }
  return thrown;
}

}  // namespace kelvox::testing

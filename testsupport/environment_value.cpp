#include "testsupport/environment_value.h"

#include <stdlib.h>

#include <cstdlib>

namespace kelvox::testing {

namespace {

void Put(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // An empty value removes a variable on Windows.
  _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
  if (value) {
    setenv(name.c_str(), value->c_str(), 1);
  } else {
    unsetenv(name.c_str());
  }
#endif
}

}  // namespace

EnvironmentValue::EnvironmentValue(std::string name, std::optional<std::string> value)
    : name_(std::move(name)) {
  if (const char* before = std::getenv(name_.c_str())) before_ = before;
  Put(name_, value);
}

EnvironmentValue::~EnvironmentValue() { Put(name_, before_); }

}  // namespace kelvox::testing

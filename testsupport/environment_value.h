// A test aid: sets (or removes) an environment variable of this process for as long as the
// object lives, then puts back what was there, also when the test fails.
//
//   const kelvox::testing::EnvironmentValue ids("KELVOX_IDS", "system");
#pragma once

#include <optional>
#include <string>

namespace kelvox::testing {

class EnvironmentValue {
 public:
  // `value` nothing removes the variable.
  EnvironmentValue(std::string name, std::optional<std::string> value);
  ~EnvironmentValue();
  EnvironmentValue(const EnvironmentValue&) = delete;
  EnvironmentValue& operator=(const EnvironmentValue&) = delete;

 private:
  std::string name_;
  std::optional<std::string> before_;
};

}  // namespace kelvox::testing

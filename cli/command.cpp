#include "cli/command.h"

#include <ostream>

namespace kelvox::cli {

int Fail(std::ostream& err, std::string_view message) {
  err << kProgramName << ": " << message << '\n';
  return kExitUsage;
}

}  // namespace kelvox::cli

#include "cli/command.h"

#include <ostream>

#include "text/one_line.h"

namespace kelvox::cli {

int Fail(std::ostream& err, std::string_view message) {
  err << kProgramName << ": " << OneLine(message) << '\n';
  return kExitUsage;
}

void Warn(std::ostream& err, std::string_view message) {
  err << kProgramName << ": " << OneLine(message) << '\n';
}

void WriteText(std::ostream& out, std::string_view text) { out << TerminalText(text); }

}  // namespace kelvox::cli

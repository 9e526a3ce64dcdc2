// A test aid: runs one kelvox-cli command in-process on a given backend and keeps what it
// printed on each stream.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "cli/access_option.h"
#include "cli/json_output.h"
#include "config/capture/simulated_bus.h"

namespace kelvox::cli::testing {

// The testable form of a command that reads configuration space.
using RunFunction = int (*)(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                            const AccessOpener& open);

struct CommandRun {
  int status = -1;
  std::string out, err;
};

inline CommandRun RunCommand(RunFunction run, const std::vector<std::string>& args,
                             const AccessOpener& open) {
  std::ostringstream out, err;
  CommandRun result;
  result.status = run(args, out, err, open);
  result.out = out.str();
  result.err = err.str();
  return result;
}

// Runs the command on a copy of `bus`, whatever --source says.
inline CommandRun RunCommand(RunFunction run, const std::vector<std::string>& args,
                             const SimulatedBus& bus) {
  return RunCommand(run, args, [&bus](const std::optional<std::string>&) {
    return OpenedAccess{std::make_unique<SimulatedBus>(bus), {}};
  });
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The document parsed, after checking that writing it again gives the very same text.
// (Text that is not JSON throws, which fails the test.)
inline Json ParsedRoundTrip(const std::string& text) {
  const Json document = Json::parse(text);
  EXPECT_EQ(JsonText(document), text) << "the document does not round-trip";
  return document;
}

}  // namespace kelvox::cli::testing

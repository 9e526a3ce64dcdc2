// A test aid: runs a program as a child process with its standard output and error captured
// apart, optional text on its standard input and changes to its environment, and never waits
// longer than a time limit for it. POSIX only: the tests that start programs are built for
// Linux only.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvox::testing {

struct ProgramRun {
  // The exit status, or 128 + the number of the signal that ended the program, as a shell
  // reports it; -1 when the program could not be started or was stopped at the time limit.
  int status = -1;
  int signal = 0;  // the signal that ended the program, 0 when it exited
  bool timed_out = false;
  std::string out, err;
  std::string error;  // why the program could not be started; empty when it was
};

// What a run is given besides its arguments, e.g. RunOptions().Input("text").Timeout(1s).
struct RunOptions {
  // What the program reads on its standard input; without it, it reads /dev/null.
  std::optional<std::string> input;
  // Changes to this process's environment for the program, made in order: a value sets the
  // variable, no value removes it.
  std::vector<std::pair<std::string, std::optional<std::string>>> environment;
  // After this the program and every process it started in its process group are killed
  // (SIGKILL), and the run counts as timed out. Also when the program has ended but something
  // it left behind still holds its output open.
  std::chrono::milliseconds timeout = std::chrono::seconds(60);

  RunOptions& Input(std::string text) {
    input = std::move(text);
    return *this;
  }
  RunOptions& Set(std::string name, std::string value) {
    environment.emplace_back(std::move(name), std::move(value));
    return *this;
  }
  RunOptions& Unset(std::string name) {
    environment.emplace_back(std::move(name), std::nullopt);
    return *this;
  }
  RunOptions& Timeout(std::chrono::milliseconds limit) {
    timeout = limit;
    return *this;
  }
};

#ifndef _WIN32

// Runs argv[0] with the arguments argv[1...], passed as they are (no shell). A name without
// '/' is looked for in PATH. The program runs in a process group of its own.
ProgramRun RunProgram(const std::vector<std::string>& argv, const RunOptions& options = {});

// Runs `script` with /bin/sh -c, for tests about what a shell does.
ProgramRun RunShell(const std::string& script, const RunOptions& options = {});

#endif  // _WIN32

}  // namespace kelvox::testing

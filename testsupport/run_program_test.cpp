// RunProgram on what a child process may do: take arguments no shell should touch, write to
// both streams, read its input or ignore it, look at its environment, end by a signal, never
// end, leave a process behind that holds its output, or not start at all.
#include "testsupport/run_program.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace kelvox::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(RunProgram, PassesArgumentsAsTheyAreAndKeepsTheStreamsApart) {
  const ProgramRun run =
      RunProgram({"/bin/sh", "-c", "for a; do printf '[%s]' \"$a\"; done; echo oops >&2; exit 3",
                  "sh", "a b", "'q\"", "", "new\nline", "$HOME *"});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.signal, 0);
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(run.error, "");
  EXPECT_EQ(run.out, "[a b]['q\"][][new\nline][$HOME *]");
  EXPECT_EQ(run.err, "oops\n");

  // A name without '/' is looked for in PATH; RunShell is sh -c.
  EXPECT_EQ(RunProgram({"echo", "in PATH"}).out, "in PATH\n");
  const ProgramRun shell = RunShell("echo out; echo err >&2; exit 4");
  EXPECT_EQ(shell.status, 4);
  EXPECT_EQ(shell.out, "out\n");
  EXPECT_EQ(shell.err, "err\n");
}

TEST(RunProgram, FeedsTheInputWhileReadingBothStreams) {
  // Each stream carries far more than a pipe holds, and the program fills its standard error
  // before it reads any input: only a runner that does all three at once gets to the end.
  std::string input;
  for (int i = 0; input.size() < 3'000'000; ++i) input += std::to_string(i) + "\n";
  const ProgramRun run = RunShell("head -c 2000000 /dev/zero | tr '\\0' e >&2; cat; echo end >&2",
                                  RunOptions().Input(input));
  EXPECT_EQ(run.status, 0) << run.error;
  EXPECT_TRUE(run.out == input) << run.out.size() << " bytes of " << input.size();
  EXPECT_EQ(run.err, std::string(2'000'000, 'e') + "end\n");

  // Without input the program reads an empty /dev/null, never the test's own input; with an
  // empty one, an empty pipe.
  EXPECT_EQ(RunShell("cat; test -p /dev/stdin || echo not a pipe").out, "not a pipe\n");
  EXPECT_EQ(RunShell("cat; test -p /dev/stdin && echo pipe", RunOptions().Input("")).out, "pipe\n");

  // A program that reads none of a large input ends as usual, and the test goes on (no SIGPIPE).
  const ProgramRun ignoring = RunProgram({"true"}, RunOptions().Input(std::string(1 << 20, 'x')));
  EXPECT_EQ(ignoring.status, 0);
  EXPECT_FALSE(ignoring.timed_out);
}

TEST(RunProgram, ChangesOnlyTheNamedEnvironmentVariablesAndOnlyForTheProgram) {
  setenv("KELVOX_RUN_KEPT", "kept", 1);
  setenv("KELVOX_RUN_GONE", "gone", 1);
  setenv("KELVOX_RUN_CHANGED", "old", 1);
  const ProgramRun run = RunShell(
      "printf '%s|%s|%s|%s' \"$KELVOX_RUN_KEPT\" \"${KELVOX_RUN_GONE-unset}\" "
      "\"$KELVOX_RUN_CHANGED\" \"$KELVOX_RUN_NEW\"",
      RunOptions()
          .Unset("KELVOX_RUN_GONE")
          .Unset("KELVOX_RUN")  // a prefix of the others' names
          .Set("KELVOX_RUN_CHANGED", "first")
          .Set("KELVOX_RUN_CHANGED", "second")
          .Set("KELVOX_RUN_NEW", "a=b c\n"));
  EXPECT_EQ(run.out, "kept|unset|second|a=b c\n");
  EXPECT_STREQ(getenv("KELVOX_RUN_GONE"), "gone");
  EXPECT_STREQ(getenv("KELVOX_RUN_CHANGED"), "old");
  EXPECT_EQ(getenv("KELVOX_RUN_NEW"), nullptr);
  for (const char* name : {"KELVOX_RUN_KEPT", "KELVOX_RUN_GONE", "KELVOX_RUN_CHANGED"}) {
    unsetenv(name);
  }
}

// True once the process `pid` is gone or a zombie nobody has reaped yet.
bool Ended(pid_t pid) {
  for (const auto until = Clock::now() + 10s; Clock::now() < until;
       std::this_thread::sleep_for(10ms)) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pid_field, name, state;
    if (!(stat >> pid_field >> name >> state) || state == "Z") return true;
  }
  return false;
}

TEST(RunProgram, ReportsASignalAndStopsWhatRunsPastTheTimeLimit) {
  const ProgramRun killed = RunShell("echo before; kill -TERM $$");
  EXPECT_EQ(killed.status, 128 + SIGTERM);
  EXPECT_EQ(killed.signal, SIGTERM);
  EXPECT_FALSE(killed.timed_out);
  EXPECT_EQ(killed.out, "before\n");

  // A program that never ends is killed; what it wrote before is kept.
  auto started = Clock::now();
  const ProgramRun endless = RunShell("echo partial; exec sleep 60", RunOptions().Timeout(300ms));
  EXPECT_LT(Clock::now() - started, 10s);
  EXPECT_TRUE(endless.timed_out);
  EXPECT_EQ(endless.status, -1);
  EXPECT_EQ(endless.signal, SIGKILL);
  EXPECT_EQ(endless.out, "partial\n");

  // A program that reads its input only after a long sleep, while the input fills the pipe.
  started = Clock::now();
  const ProgramRun slow =
      RunShell("sleep 60; cat", RunOptions().Input(std::string(1 << 20, 'x')).Timeout(300ms));
  EXPECT_LT(Clock::now() - started, 10s);
  EXPECT_TRUE(slow.timed_out);

  // A program that ends at once but leaves a process behind holding its output: the run ends
  // at the time limit all the same, and that process is killed with it.
  started = Clock::now();
  const ProgramRun left = RunShell("sleep 60 & echo $!", RunOptions().Timeout(300ms));
  EXPECT_LT(Clock::now() - started, 10s);
  EXPECT_TRUE(left.timed_out);
  ASSERT_FALSE(left.out.empty());
  EXPECT_TRUE(Ended(std::stoi(left.out))) << "the process left behind still runs";
}

TEST(RunProgram, AProgramThatCannotBeStartedIsNamed) {
  const ProgramRun missing = RunProgram({"/nonexistent/kelvox/program", "x"});
  EXPECT_EQ(missing.status, -1);
  EXPECT_FALSE(missing.timed_out);
  EXPECT_EQ(missing.error, "cannot start /nonexistent/kelvox/program: No such file or directory");
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "");
  EXPECT_EQ(RunProgram({"kelvox-no-such-program-in-path"}).status, -1);
  EXPECT_EQ(RunProgram({}).error, "no program named");
}

}  // namespace
}  // namespace kelvox::testing

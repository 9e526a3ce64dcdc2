#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string_view>
#include <thread>

#include "testsupport/run_program.h"

extern char** environ;

namespace kelvox::testing {
namespace {

using Clock = std::chrono::steady_clock;

// A descriptor, closed when it goes.
class Descriptor {
 public:
  Descriptor() = default;
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

// A pipe whose ends are closed in programs started later (the child's ends are put in place
// by the spawn's own dup2).
bool MakePipe(Descriptor& read_end, Descriptor& write_end) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
  read_end.Reset(ends[0]);
  write_end.Reset(ends[1]);
  return true;
}

// This process's environment with `changes` made, later changes winning.
std::vector<std::string> ChildEnvironment(const RunOptions& options) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) entries.emplace_back(*entry);
  for (const auto& change : options.environment) {
    const std::string& name = change.first;
    std::erase_if(entries, [&name](const std::string& entry) {
      return entry.size() > name.size() && entry[name.size()] == '=' && entry.starts_with(name);
    });
    if (change.second) entries.push_back(name + "=" + *change.second);
  }
  return entries;
}

std::vector<char*> NullTerminated(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Starts the program with its standard streams on the given descriptors, in a process group of
// its own, with no signal blocked or ignored; its pid, or an errno value as a negative number.
pid_t Spawn(std::vector<std::string> argv, std::vector<std::string> environment, int in, int out,
            int err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in, 0);
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  posix_spawn_file_actions_adddup2(&actions, err, 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
  const std::vector<char*> arguments = NullTerminated(argv);
  const std::vector<char*> variables = NullTerminated(environment);
  pid_t pid = 0;
  const int failed =
      posix_spawnp(&pid, arguments[0], &actions, &attributes, arguments.data(), variables.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return failed != 0 ? -failed : pid;
}

// Milliseconds until `deadline`, rounded up, for poll.
int MillisecondsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

// Feeds `input` to `in` and reads `out` and `err` to their ends, whichever is ready; false when
// `deadline` passed first.
bool Exchange(const std::string& input, Descriptor& in, Descriptor& out, Descriptor& err,
              ProgramRun& run, Clock::time_point deadline) {
  // A program that ends without reading all of its input must not end this process with
  // SIGPIPE: the signal is blocked here, the write fails with EPIPE, and the signal it left
  // pending is taken back.
  sigset_t pipe_signal, before;
  sigemptyset(&pipe_signal);
  sigaddset(&pipe_signal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe_signal, &before);
  bool broken_pipe = false;

  size_t written = 0;
  if (input.empty()) in.Close();
  if (in.get() >= 0) fcntl(in.get(), F_SETFL, fcntl(in.get(), F_GETFL) | O_NONBLOCK);
  bool in_time = true;
  while (in.get() >= 0 || out.get() >= 0 || err.get() >= 0) {
    const int wait = MillisecondsUntil(deadline);
    if (wait == 0) {
      in_time = false;
      break;
    }
    pollfd fds[3];
    nfds_t count = 0;
    if (in.get() >= 0) fds[count++] = {in.get(), POLLOUT, 0};
    if (out.get() >= 0) fds[count++] = {out.get(), POLLIN, 0};
    if (err.get() >= 0) fds[count++] = {err.get(), POLLIN, 0};
    if (poll(fds, count, wait) < 0) {
      if (errno == EINTR) continue;
      in_time = false;
      break;
    }
    for (nfds_t i = 0; i < count; ++i) {
      if (fds[i].revents == 0) continue;
      if (fds[i].fd == in.get()) {
        const ssize_t sent = write(in.get(), input.data() + written, input.size() - written);
        if (sent > 0) written += static_cast<size_t>(sent);
        if (sent < 0 && errno == EPIPE) broken_pipe = true;
        if (written == input.size() || (sent < 0 && errno != EAGAIN && errno != EINTR)) {
          in.Close();
        }
        continue;
      }
      Descriptor& from = fds[i].fd == out.get() ? out : err;
      std::string& text = fds[i].fd == out.get() ? run.out : run.err;
      char buffer[65536];
      const ssize_t got = read(from.get(), buffer, sizeof buffer);
      if (got > 0) {
        text.append(buffer, static_cast<size_t>(got));
      } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
        from.Close();
      }
    }
  }

  if (broken_pipe && !sigismember(&before, SIGPIPE)) {
    const timespec now = {0, 0};
    sigtimedwait(&pipe_signal, nullptr, &now);
  }
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  return in_time;
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& argv, const RunOptions& options) {
  ProgramRun run;
  if (argv.empty()) {
    run.error = "no program named";
    return run;
  }
  const auto deadline = Clock::now() + options.timeout;
  Descriptor in_read, in_write, out_read, out_write, err_read, err_write;
  if (options.input) {
    if (!MakePipe(in_read, in_write)) run.error = std::strerror(errno);
  } else {
    in_read.Reset(open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (in_read.get() < 0) run.error = std::strerror(errno);
  }
  if (run.error.empty() && (!MakePipe(out_read, out_write) || !MakePipe(err_read, err_write))) {
    run.error = std::strerror(errno);
  }
  if (!run.error.empty()) {
    run.error = "cannot make the pipes for " + argv[0] + ": " + run.error;
    return run;
  }
  const pid_t pid =
      Spawn(argv, ChildEnvironment(options), in_read.get(), out_write.get(), err_write.get());
  if (pid < 0) {
    run.error = "cannot start " + argv[0] + ": " + std::strerror(-pid);
    return run;
  }
  in_read.Close();
  out_write.Close();
  err_write.Close();

  bool in_time = Exchange(options.input.value_or(""), in_write, out_read, err_read, run, deadline);
  int raw = 0;
  bool reaped = false;
  while (in_time) {
    const pid_t waited = waitpid(pid, &raw, WNOHANG);
    if (waited == pid) {
      reaped = true;
      break;
    }
    if (waited < 0 && errno != EINTR) break;  // someone else took its status
    if (MillisecondsUntil(deadline) == 0) {
      in_time = false;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  if (!in_time) {
    // Not reaped yet, so the pid and the group it leads still belong to the program.
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);
    pid_t waited;
    while ((waited = waitpid(pid, &raw, 0)) < 0 && errno == EINTR) {
    }
    reaped = waited == pid;
  }
  if (reaped && WIFEXITED(raw)) run.status = WEXITSTATUS(raw);
  if (reaped && WIFSIGNALED(raw)) {
    run.signal = WTERMSIG(raw);
    run.status = 128 + run.signal;
  }
  if (!in_time) {
    run.timed_out = true;
    run.status = -1;
  }
  return run;
}

ProgramRun RunShell(const std::string& script, const RunOptions& options) {
  return RunProgram({"/bin/sh", "-c", script}, options);
}

}  // namespace kelvox::testing

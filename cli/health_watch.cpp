#include "cli/health_watch.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <ostream>
#include <thread>

#include "cli/command.h"
#include "cli/link_reading.h"

namespace kelvox::cli {

namespace {

// "2026-12-10T03:05:01Z".
std::string Timestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
#ifdef _WIN32
  utc = *std::gmtime(&now);  // the C run time's own buffer per thread
#else
  gmtime_r(&now, &utc);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

// Waits `seconds`; false when a signal to stop came first.
#ifdef _WIN32
bool Wait(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  return true;
}
class StopSignals {};
#else
// SIGINT and SIGTERM blocked while the watch runs, so that they are taken by the wait below
// rather than ending the program before its summary.
class StopSignals {
 public:
  StopSignals() {
    sigemptyset(&set_);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    sigprocmask(SIG_BLOCK, &set_, &before_);
  }
  ~StopSignals() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;
  const sigset_t& set() const { return set_; }

 private:
  sigset_t set_{}, before_{};
};

bool Wait(const StopSignals& signals, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    const auto left = end - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return true;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    timespec timeout{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    const int taken = sigtimedwait(&signals.set(), nullptr, &timeout);
    if (taken == SIGINT || taken == SIGTERM) return false;
    // EAGAIN: the time is up; EINTR: another signal, wait on.
  }
}
#endif

}  // namespace

health::BusSample SampleBus(ConfigAccess& access, bool with_domains) {
  health::BusSample sample;
  const FunctionListing listing = ListEveryDomain(access, std::nullopt);
  bool other_domain = with_domains;
  for (const FunctionLocation& at : listing.present) other_domain |= at.domain != 0;
  for (const FunctionLocation& at : listing.present) {
    const DomainScope in_domain(access, at.domain);
    health::FunctionSample function;
    if (const std::optional<FunctionFacts> facts = access.SomeFacts(at, kLinkFacts | kDriverFact)) {
      function.speed = SysfsSpeed(facts->current_link_speed);
      function.width = facts->current_link_width.value_or(0);
      function.driver = facts->driver;
    }
    for (const ErrorCounter& counter : access.ErrorCounters(at)) {
      function.counters.emplace(counter.group + " " + counter.name, counter.count);
    }
    sample.emplace(other_domain ? DomainLocationText(at) : LocationText(at), std::move(function));
  }
  return sample;
}

int WatchBus(ConfigAccess& access, bool with_domains, double seconds, std::optional<long> count,
             std::ostream& out) {
#ifndef _WIN32
  const StopSignals signals;
#endif
  health::BusSample last = SampleBus(access, with_domains);
  char interval[32];
  std::snprintf(interval, sizeof interval, "%g", seconds);
  WriteText(out, Timestamp() + " watching " + std::to_string(last.size()) + " functions every " +
                     interval + " s" + (count ? "" : " (Ctrl+C ends)") + "\n");
  out.flush();
  std::vector<health::Change> changes;
  long taken = 1;
  while (!count || taken < *count) {
#ifdef _WIN32
    if (!Wait(seconds)) break;
#else
    if (!Wait(signals, seconds)) break;
#endif
    health::BusSample next = SampleBus(access, with_domains);
    ++taken;
    const std::string when = Timestamp();
    for (health::Change& change : health::CompareSamples(last, next)) {
      WriteText(out, when + " " + change.address + " " + change.text + "\n");
      changes.push_back(std::move(change));
    }
    out.flush();
    last = std::move(next);
  }
  std::string summary = "watch: " + std::to_string(taken) + " samples, " +
                        std::to_string(changes.size()) +
                        (changes.size() == 1 ? " change\n" : " changes\n");
  for (const std::string& line : health::ChangeSummary(changes)) summary += "  " + line + "\n";
  WriteText(out, summary);
  return changes.empty() ? kExitOk : kExitNothing;
}

}  // namespace kelvox::cli

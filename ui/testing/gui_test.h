// Helpers for window tests: whether wxWidgets could start on a display, and a way to skip a
// test cleanly when it could not.
#pragma once

#include <gtest/gtest.h>

#include <functional>

namespace kelvox::testing {

// True once wxWidgets has started on a display (set by the test main).
bool HaveDisplay();

// Runs the wx event loop until `done` returns true or `timeout_ms` passes; true when done.
bool RunEventsUntil(const std::function<bool()>& done, int timeout_ms = 10000);

// Waits until the window system has carried out every request the program made so far and the
// program has handled every event it sent back before that: on X11 a round trip to the server
// (windows shown are mapped, input simulated before the call has arrived), then the program's
// event queues are run until they are empty. False when that took longer than `timeout_ms`.
// After simulated input this is the moment its effect is there, however slow the machine.
bool RoundTrip(int timeout_ms = 10000);

}  // namespace kelvox::testing

#define KELVOX_REQUIRE_DISPLAY()                                         \
  do {                                                                   \
    if (!::kelvox::testing::HaveDisplay()) GTEST_SKIP() << "no display"; \
  } while (0)

// Helpers for window tests: whether wxWidgets could start on a display, and a way to skip a
// test cleanly when it could not.
#pragma once

#include <gtest/gtest.h>

#include <functional>

namespace kelvox::testing {

// True once wxWidgets has started on a display (set by the test main).
bool HaveDisplay();

// Runs the wx event loop until `done` returns true or `timeout_ms` passes; true when done.
bool RunEventsUntil(const std::function<bool()>& done, int timeout_ms = 5000);

// Runs pending events for a short while (lets GTK map windows and deliver input).
void Settle(int ms = 100);

}  // namespace kelvox::testing

#define KELVOX_REQUIRE_DISPLAY()                                         \
  do {                                                                   \
    if (!::kelvox::testing::HaveDisplay()) GTEST_SKIP() << "no display"; \
  } while (0)

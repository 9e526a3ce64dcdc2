// Comparing samples of a bus: each kind of change named once, a flapping link counted as one.
#include "health/watch_changes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvox::health {
namespace {

std::vector<std::string> Texts(const std::vector<Change>& changes) {
  std::vector<std::string> texts;
  for (const Change& change : changes) texts.push_back(change.address + " " + change.text);
  return texts;
}

TEST(WatchChanges, EachChangeIsNamedOnceAndAFlappingLinkIsSaidToFlap) {
  const FunctionSample gpu{16, 16, "amdgpu", {{"correctable RxErr", 2}}};
  FunctionSample slow = gpu;
  slow.speed = 2.5;
  FunctionSample counted = gpu;
  counted.counters["correctable RxErr"] = 5;
  counted.counters["fatal TOTAL_ERR_FATAL"] = 1;
  FunctionSample unbound = gpu;
  unbound.driver = "";
  FunctionSample unknown = gpu;
  unknown.driver.reset();
  const struct {
    const char* what;
    BusSample before, after;
    std::vector<std::string> changes;
  } cases[] = {
      {"nothing", {{"01:00.0", gpu}}, {{"01:00.0", gpu}}, {}},
      {"a speed change",
       {{"01:00.0", gpu}},
       {{"01:00.0", slow}},
       {"01:00.0 link 16GT/s x16 -> 2.5GT/s x16"}},
      {"counters that rose; one that fell is a reset, not news",
       {{"01:00.0", gpu}},
       {{"01:00.0", counted}},
       {"01:00.0 correctable RxErr rose by 3 to 5",
        "01:00.0 fatal TOTAL_ERR_FATAL rose by 1 to 1"}},
      {"a counter that fell", {{"01:00.0", counted}}, {{"01:00.0", gpu}}, {}},
      {"a function removed and one added",
       {{"01:00.0", gpu}},
       {{"02:00.0", gpu}},
       {"01:00.0 removed", "02:00.0 added (16GT/s x16, driver amdgpu)"}},
      {"a driver unbound",
       {{"01:00.0", gpu}},
       {{"01:00.0", unbound}},
       {"01:00.0 driver amdgpu unbound"}},
      {"a driver bound",
       {{"01:00.0", unbound}},
       {{"01:00.0", gpu}},
       {"01:00.0 driver (none) -> amdgpu"}},
      {"a driver no longer known is no change", {{"01:00.0", gpu}}, {{"01:00.0", unknown}}, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Texts(CompareSamples(c.before, c.after)), c.changes) << c.what;

  std::vector<Change> watch;
  for (int i = 0; i < 4; ++i) {
    for (Change& change :
         CompareSamples({{"01:00.0", i % 2 ? slow : gpu}}, {{"01:00.0", i % 2 ? gpu : slow}})) {
      watch.push_back(std::move(change));
    }
  }
  watch.push_back({"03:00.0", "removed", "removed"});
  EXPECT_EQ(ChangeSummary(watch), (std::vector<std::string>{"01:00.0: 4 changes (link 4): flapping",
                                                            "03:00.0: 1 change (removed 1)"}));
}

}  // namespace
}  // namespace kelvox::health

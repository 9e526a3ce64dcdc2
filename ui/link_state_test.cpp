// The decisions of the link label, checked without a display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/static_link.h"

namespace kelvox {
namespace {

struct OpenerSpy {
  bool succeed = true;
  std::vector<wxString> opened;
  LinkOpener Opener() {
    return [this](const wxString& target) {
      opened.push_back(target);
      return succeed;
    };
  }
};

TEST(LinkState, StartsBlueAndTurnsPurpleOnlyAfterASuccessfulOpen) {
  LinkState link;
  EXPECT_EQ(link.colour(), 0x00FF0000u);
  OpenerSpy spy;
  spy.succeed = false;
  wxString target = "https://example.org/";
  EXPECT_EQ(link.Click(target, "caption", spy.Opener()), LinkClick::kOpenFailed);
  EXPECT_EQ(link.colour(), 0x00FF0000u);
  spy.succeed = true;
  EXPECT_EQ(link.Click(target, "caption", spy.Opener()), LinkClick::kOpened);
  EXPECT_EQ(link.colour(), 0x00800080u);
  EXPECT_TRUE(link.visited());
  // There is no way back: a later failure keeps it purple.
  spy.succeed = false;
  EXPECT_EQ(link.Click(target, "caption", spy.Opener()), LinkClick::kOpenFailed);
  EXPECT_EQ(link.colour(), 0x00800080u);
  EXPECT_EQ(spy.opened, (std::vector<wxString>{target, target, target}));
}

TEST(LinkState, AnEmptyTargetTakesTheCaptionAndKeepsIt) {
  LinkState link;
  OpenerSpy spy;
  wxString target;
  EXPECT_EQ(link.Click(target, "https://pci-ids.ucw.cz/", spy.Opener()), LinkClick::kOpened);
  EXPECT_EQ(target, "https://pci-ids.ucw.cz/");
  EXPECT_EQ(link.Click(target, "another caption", spy.Opener()), LinkClick::kOpened);
  EXPECT_EQ(spy.opened.back(), "https://pci-ids.ucw.cz/");
}

TEST(LinkState, NothingOpensWhenTargetAndCaptionAreEmpty) {
  LinkState link;
  OpenerSpy spy;
  wxString target;
  EXPECT_EQ(link.Click(target, "", spy.Opener()), LinkClick::kNothingToOpen);
  EXPECT_TRUE(spy.opened.empty());
  EXPECT_EQ(link.colour(), 0x00FF0000u);
}

TEST(LoadOnce, LoadsOnFirstUseAndNeverRetriesAFailedLoad) {
  int loads = 0;
  LoadOnce<int> missing([&loads]() -> std::optional<int> {
    ++loads;
    return std::nullopt;
  });
  EXPECT_FALSE(missing.attempted());
  EXPECT_EQ(missing.Get(), nullptr);
  EXPECT_EQ(missing.Get(), nullptr);
  EXPECT_EQ(loads, 1);

  // Each load gives a different value, so a second load would show.
  LoadOnce<std::string> present([&loads]() -> std::optional<std::string> {
    ++loads;
    return "hand " + std::to_string(loads);
  });
  EXPECT_EQ(loads, 1);  // nothing loaded before the first use
  const std::string* first = present.Get();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(*first, "hand 2");
  EXPECT_TRUE(present.attempted());
  // Later uses give the same object with the first value and load nothing.
  const std::string* second = present.Get();
  EXPECT_EQ(second, first);
  EXPECT_EQ(*second, "hand 2");
  EXPECT_EQ(loads, 2);
}

}  // namespace
}  // namespace kelvox

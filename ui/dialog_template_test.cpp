#include "ui/dialog_template.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

TEST(GrowToFit, LeavesRectanglesThatAreLargeEnoughAlone) {
  const std::vector<wxRect> rects = {{10, 10, 50, 20}, {70, 10, 30, 20}};
  EXPECT_EQ(GrowToFit(rects, {wxSize(40, 20), wxDefaultSize}, {false, false}), rects);
}

TEST(GrowToFit, AWiderControlPushesItsRowRightwardsButNotOtherRows) {
  // An edit, a narrow up-down that needs 64 pixels, a label and a button on one row; a list
  // below; a control on the row left of the up-down.
  const std::vector<wxRect> rects = {{100, 40, 50, 28}, {150, 40, 20, 28}, {180, 44, 60, 20},
                                     {250, 40, 80, 28}, {0, 80, 400, 200}, {0, 44, 90, 20}};
  const std::vector<wxSize> needed = {wxDefaultSize, wxSize(64, 28), wxDefaultSize,
                                      wxDefaultSize, wxDefaultSize,  wxDefaultSize};
  const auto grown = GrowToFit(rects, needed, std::vector<bool>(6, false));
  EXPECT_EQ(grown[0], rects[0]);
  EXPECT_EQ(grown[1], wxRect(150, 40, 64, 28));
  EXPECT_EQ(grown[2], wxRect(224, 44, 60, 20));
  EXPECT_EQ(grown[3], wxRect(294, 40, 80, 28));
  EXPECT_EQ(grown[4], rects[4]);
  EXPECT_EQ(grown[5], rects[5]);
}

TEST(GrowToFit, ATallerControlGrowsAboutItsCentreLine) {
  const auto grown = GrowToFit({{10, 20, 40, 20}}, {wxSize(40, 30)}, {false});
  EXPECT_EQ(grown[0], wxRect(10, 15, 40, 30));
  // Never above the top of the client area.
  EXPECT_EQ(GrowToFit({{10, 2, 40, 20}}, {wxSize(40, 30)}, {false})[0], wxRect(10, 0, 40, 30));
}

TEST(GrowToFit, AGroupBoxAroundAGrowingControlWidensInsteadOfMoving) {
  const std::vector<wxRect> rects = {{0, 0, 200, 100}, {10, 20, 30, 20}, {60, 20, 30, 20}};
  const auto grown =
      GrowToFit(rects, {wxDefaultSize, wxSize(50, 20), wxDefaultSize}, {true, false, false});
  EXPECT_EQ(grown[0], wxRect(0, 0, 220, 100));
  EXPECT_EQ(grown[1], wxRect(10, 20, 50, 20));
  EXPECT_EQ(grown[2], wxRect(80, 20, 30, 20));
}

}  // namespace
}  // namespace kelvox

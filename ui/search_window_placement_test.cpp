// Placement of the search window beside the main window.
#include "ui/search_window_placement.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

const wxRect kScreen(0, 0, 1280, 1024);
const wxSize kSearch(560, 380);

TEST(SearchWindowPlacement, GoesRightOfTheMainWindowWhenThereIsRoom) {
  const wxRect main(10, 50, 690, 430);
  EXPECT_EQ(PlaceBesideMainWindow(main, kSearch, kScreen), wxPoint(10 + 690 + 8, 50));
}

TEST(SearchWindowPlacement, GoesLeftWhenOnlyTheLeftHasRoom) {
  const wxRect main(580, 50, 690, 430);
  EXPECT_EQ(PlaceBesideMainWindow(main, kSearch, kScreen), wxPoint(580 - 8 - 560, 50));
}

TEST(SearchWindowPlacement, StaysOnTheScreenWhenNeitherSideHasRoom) {
  const wxRect centred(295, 297, 690, 430);  // 295 pixels free on either side
  const wxPoint at = PlaceBesideMainWindow(centred, kSearch, kScreen);
  EXPECT_EQ(at, wxPoint(1280 - 560, 297));
  const wxRect left_of_centre(300, 297, 700, 430);  // more room on the left now
  EXPECT_EQ(PlaceBesideMainWindow(left_of_centre, kSearch, kScreen), wxPoint(0, 297));
}

TEST(SearchWindowPlacement, KeepsTheWindowInsideTheScreenWhereverTheMainWindowIs) {
  const wxRect screen(100, 30, 1180, 994);  // a work area that does not start at 0,0
  for (int x = -800; x <= 1500; x += 37) {
    for (int y = -500; y <= 1200; y += 41) {
      const wxRect main(x, y, 690, 430);
      const wxRect placed(PlaceBesideMainWindow(main, kSearch, screen), kSearch);
      ASSERT_TRUE(screen.Contains(placed)) << x << "," << y;
    }
  }
}

TEST(SearchWindowPlacement, AWindowLargerThanTheScreenKeepsItsTitleBarVisible) {
  const wxRect screen(0, 0, 400, 300);
  EXPECT_EQ(PlaceBesideMainWindow(wxRect(50, 50, 100, 100), kSearch, screen), wxPoint(0, 0));
}

}  // namespace
}  // namespace kelvox

#include "ui/search_window_placement.h"

#include <algorithm>

namespace kelvox {

namespace {

// `start` moved so that [start, start + length) lies in [low, high), or to `low` when the
// range is too short.
int ClampInto(int start, int length, int low, int high) {
  return std::max(low, std::min(start, high - length));
}

}  // namespace

wxPoint PlaceBesideMainWindow(const wxRect& main, const wxSize& size, const wxRect& screen,
                              int gap) {
  const int screen_right = screen.GetX() + screen.GetWidth();  // one past the last column
  const int right_x = main.GetX() + main.GetWidth() + gap;
  const int left_x = main.GetX() - gap - size.GetWidth();
  const int room_right = screen_right - right_x;
  const int room_left = main.GetX() - gap - screen.GetX();

  int x;
  if (room_right >= size.GetWidth()) {
    x = right_x;
  } else if (room_left >= size.GetWidth()) {
    x = left_x;
  } else {
    x = room_right >= room_left ? right_x : left_x;
  }
  x = ClampInto(x, size.GetWidth(), screen.GetX(), screen_right);
  const int y =
      ClampInto(main.GetY(), size.GetHeight(), screen.GetY(), screen.GetY() + screen.GetHeight());
  return {x, y};
}

}  // namespace kelvox

#include "ui/bell.h"

#include <wx/utils.h>

#include <utility>

namespace kelvox {

namespace {
std::function<void()>& Handler() {
  static std::function<void()> handler;
  return handler;
}
}  // namespace

void RingBell() {
  if (Handler()) {
    Handler()();
  } else {
    wxBell();
  }
}

std::function<void()> SetBellHandler(std::function<void()> handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace kelvox

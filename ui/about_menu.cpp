#include "ui/about_menu.h"

namespace kelvox {

std::optional<MenuItemSpec> AboutMenuItem(const char* text) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  return MenuItemSpec{kAboutCommand, text};
}

// System commands keep their low four bits for the window system's own use, so the whole
// block 16 to 31 is the about command.
bool OpensAboutBox(int command) { return (command & ~0xF) == kAboutCommand; }

}  // namespace kelvox

// The about item of the main dialog's menu: whether there is one (string 101 may be empty) and
// which command ids open the about box. On Windows the item sits in the window's system menu;
// GTK lets no program extend the window menu, so there it is the dialog's context menu.
#pragma once

#include <optional>

namespace kelvox {

// The command id of the about item.
inline constexpr int kAboutCommand = 16;

struct MenuItemSpec {
  int command;
  const char* text;
};

// The about item for the menu text `text` (string 101), or nothing when the text is empty.
std::optional<MenuItemSpec> AboutMenuItem(const char* text);

// True for the commands that open the about box (16 to 31); every other command goes to the
// window's default handling.
bool OpensAboutBox(int command);

}  // namespace kelvox

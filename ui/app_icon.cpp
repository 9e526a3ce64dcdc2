#include "ui/app_icon.h"

#include "ui/data/kelvox_16.xpm"
#include "ui/data/kelvox_32.xpm"

namespace kelvox {

wxIcon AppIcon() { return wxIcon(kelvox_32_xpm); }

wxIconBundle AppIcons() {
  wxIconBundle icons;
  icons.AddIcon(wxIcon(kelvox_32_xpm));
  icons.AddIcon(wxIcon(kelvox_16_xpm));
  return icons;
}

}  // namespace kelvox

#include "ui/minimised_icon.h"

namespace kelvox {

wxPoint MinimisedIconOrigin(const wxSize& client, const wxSize& icon) {
  return {(client.x - icon.x + 1) / 2, (client.y - icon.y + 1) / 2};
}

}  // namespace kelvox

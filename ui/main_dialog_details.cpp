// The main dialog's way into the device details sheet.
#include "ui/main_dialog.h"

namespace kelvox {

bool MainDialog::OpenDetails(int /*device*/) { return false; }

}  // namespace kelvox

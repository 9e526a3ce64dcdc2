// The main dialog's way into the device details sheet.
#include "scan/bus_scan.h"
#include "ui/details_opener.h"
#include "ui/main_dialog.h"

namespace kelvox {

bool MainDialog::OpenDetails(int device) {
  if (device < 0 || device >= kDevicesPerBus) return false;
  // Every opening reads and sizes the registers afresh: nothing is kept between openings.
  const FunctionLocation at{bus(), device, function(), access().SelectedDomain()};
  OpenDetailsSheet(access(), at);
  return true;
}

}  // namespace kelvox

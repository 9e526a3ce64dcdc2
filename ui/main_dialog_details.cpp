// The main dialog's way into the device details sheet.
#include "details/function_read.h"
#include "scan/bus_scan.h"
#include "ui/details_sheet.h"
#include "ui/main_dialog.h"

namespace kelvox {

bool MainDialog::OpenDetails(int device) {
  if (device < 0 || device >= kDevicesPerBus) return false;
  // Every opening reads and sizes the registers afresh: nothing is kept between openings.
  const FunctionLocation at{bus(), device, function(), access().SelectedDomain()};
  DetailsSheet sheet(ReadFunction(access(), at));
  sheet.ShowModal();
  return true;
}

}  // namespace kelvox

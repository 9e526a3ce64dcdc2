// The device details sheet: a modal property sheet with the pages "ベンダ情報", "ベースアドレス",
// "割込みなど" and "システム", captioned with the bus, function and device numbers. It is built
// entirely from one set of details texts before it is shown, and lives for one opening only.
#pragma once

#include <wx/propdlg.h>

#include <functional>

#include "details/device_details.h"

namespace kelvox {

class CBaseAddr;
class CMiscRegs;
class CSystemInfo;
class CVendorDeviceInfo;

class DetailsSheet : public wxPropertySheetDialog {
 public:
  // Builds the sheet with no parent window: caption, buttons, then the four pages filled from
  // `details` and added in order, the first one selected.
  explicit DetailsSheet(const DeviceDetails& details);

  // Shows the sheet modally; returns the id of whatever closed it. Meanwhile every other
  // window of the program is disabled.
  int ShowModal() override;

  CVendorDeviceInfo& vendor_page() const { return *vendor_; }
  CBaseAddr& base_address_page() const { return *base_address_; }
  CMiscRegs& misc_page() const { return *misc_; }
  CSystemInfo& system_page() const { return *system_; }

  // Something to run once each sheet is showing, inside its modal loop (tests read the sheet
  // and end it with EndModal). An empty function removes it. Returns the one replaced.
  using ShownHook = std::function<void(DetailsSheet&)>;
  static ShownHook SetShownHook(ShownHook hook);

 private:
  CVendorDeviceInfo* vendor_;
  CBaseAddr* base_address_;
  CMiscRegs* misc_;
  CSystemInfo* system_;
};

}  // namespace kelvox

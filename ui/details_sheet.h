// The device details sheet: a modal property sheet with the pages "ベンダ情報", "ベースアドレス",
// "割込みなど" and "システム", captioned with the bus, function and device numbers, then
// "ケイパビリティ" (the header decoded and the capabilities as a tree) and "16進ダンプ" (the
// readable bytes). It is built entirely from one reading of the function before it is shown,
// and lives for one opening only.
#pragma once

#include <wx/propdlg.h>

#include <functional>

#include "details/function_read.h"

namespace kelvox {

class CapabilitiesPage;
class CBaseAddr;
class SpaceDumpPage;
class CMiscRegs;
class CSystemInfo;
class CVendorDeviceInfo;

class DetailsSheet : public wxPropertySheetDialog {
 public:
  // Builds the sheet with no parent window: caption, buttons, then the four pages filled from
  // `read.details` and the two made of its space, added in order, the first one selected.
  explicit DetailsSheet(const FunctionRead& read);

  // Shows the sheet modally; returns the id of whatever closed it. Meanwhile every other
  // window of the program is disabled.
  int ShowModal() override;

  CVendorDeviceInfo& vendor_page() const { return *vendor_; }
  CBaseAddr& base_address_page() const { return *base_address_; }
  CMiscRegs& misc_page() const { return *misc_; }
  CSystemInfo& system_page() const { return *system_; }
  CapabilitiesPage& capabilities_page() const { return *capabilities_; }
  SpaceDumpPage& space_dump_page() const { return *space_dump_; }

  // Something to run once each sheet is showing, inside its modal loop (tests read the sheet
  // and end it with EndModal). An empty function removes it. Returns the one replaced.
  using ShownHook = std::function<void(DetailsSheet&)>;
  static ShownHook SetShownHook(ShownHook hook);

 private:
  CVendorDeviceInfo* vendor_;
  CBaseAddr* base_address_;
  CMiscRegs* misc_;
  CSystemInfo* system_;
  CapabilitiesPage* capabilities_ = nullptr;
  SpaceDumpPage* space_dump_ = nullptr;
};

}  // namespace kelvox

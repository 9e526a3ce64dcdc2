// CBaseAddr: the "ベースアドレス" page of the device details sheet, laid out by its dialog
// template BaseAddrTemplate() (dialog resource 129). Shows the six base address registers and
// the expansion ROM base address register, each as its value and the range and kind it decodes,
// "%08lx (range : kind)".
#pragma once

#include <vector>

#include "ui/details_page.h"

namespace kelvox {

class CBaseAddr : public DetailsPage {
 public:
  CBaseAddr() = default;

  const DialogTemplate& Template() const override;
  wxString Title() const override;

  wxString base_address0;  // 1006, register 0x10
  wxString base_address1;  // 1007, register 0x14
  wxString base_address2;  // 1008, register 0x18
  wxString base_address3;  // 1009, register 0x1C
  wxString base_address4;  // 1010, register 0x20
  wxString base_address5;  // 1011, register 0x24
  wxString expansion_rom;  // 1012, register 0x30

 protected:
  std::vector<TextBinding> Bindings() override;

 private:
  wxDECLARE_DYNAMIC_CLASS(CBaseAddr);
};

}  // namespace kelvox

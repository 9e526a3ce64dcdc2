// CMiscRegs: the "割込みなど" page of the device details sheet, laid out by its dialog
// template MiscRegsTemplate() (dialog resource 130). Shows the interrupt line and pin, minimum
// grant, maximum latency, BIST, latency timer, cache line size, CardBus CIS pointer and the
// subsystem vendor and subsystem IDs.
#pragma once

#include <vector>

#include "ui/details_page.h"

namespace kelvox {

class CMiscRegs : public DetailsPage {
 public:
  CMiscRegs() = default;

  const DialogTemplate& Template() const override;
  wxString Title() const override;

  wxString interrupt_line;       // 1012, "%d"
  wxString interrupt_pin;        // 1013, "%d"
  wxString max_latency;          // 1014, "%d"
  wxString min_grant;            // 1015, "%d"
  wxString bist;                 // 1016, "%02xH"
  wxString latency_timer;        // 1017, "%d"
  wxString cache_line_size;      // 1020, "%d"
  wxString cardbus_cis;          // 1021, "%08lx"
  wxString subsystem_vendor_id;  // 1022, "%04x"
  wxString subsystem_id;         // 1023, "%04x"

 protected:
  std::vector<TextBinding> Bindings() override;

 private:
  wxDECLARE_DYNAMIC_CLASS(CMiscRegs);
};

}  // namespace kelvox

#include "ui/misc_regs_page.h"

#include "details/details_texts.h"
#include "details/misc_texts.h"
#include "ui/details_page_templates.h"

namespace kelvox {

wxIMPLEMENT_DYNAMIC_CLASS(CMiscRegs, DetailsPage);

const DialogTemplate& CMiscRegs::Template() const { return MiscRegsTemplate(); }

wxString CMiscRegs::Title() const { return wxString::FromUTF8(kMiscPageTitle); }

std::vector<TextBinding> CMiscRegs::Bindings() {
  return {
      {kInterruptLineControl, &interrupt_line},
      {kInterruptPinControl, &interrupt_pin},
      {kMaxLatencyControl, &max_latency},
      {kMinGrantControl, &min_grant},
      {kBistControl, &bist},
      {kLatencyTimerControl, &latency_timer},
      {kCacheLineSizeControl, &cache_line_size},
      {kCardbusCisControl, &cardbus_cis},
      {kSubsystemVendorIdControl, &subsystem_vendor_id},
      {kSubsystemIdControl, &subsystem_id},
  };
}

}  // namespace kelvox

#include "ui/details_sheet.h"

#include <wx/bookctrl.h>
#include <wx/button.h>

#include <utility>

#include "ui/base_addr_page.h"
#include "ui/capabilities_page.h"
#include "ui/details_page_templates.h"
#include "ui/misc_regs_page.h"
#include "ui/space_dump_page.h"
#include "ui/system_info_page.h"
#include "ui/texts.h"
#include "ui/vendor_device_info_page.h"

namespace kelvox {

static DetailsSheet::ShownHook& Hook() {
  static DetailsSheet::ShownHook hook;
  return hook;
}

DetailsSheet::ShownHook DetailsSheet::SetShownHook(ShownHook hook) {
  return std::exchange(Hook(), std::move(hook));
}

DetailsSheet::DetailsSheet(const FunctionRead& read)
    : vendor_(new CVendorDeviceInfo),
      base_address_(new CBaseAddr),
      misc_(new CMiscRegs),
      system_(new CSystemInfo) {
  const DeviceDetails& details = read.details;
  Create(nullptr, wxID_ANY, wxString::FromUTF8(details.caption));
  // The tabs and buttons take the sheet's font only when it is set before they are made.
  const wxFont font = TemplateFont(texts::kMainFace, texts::kMainFallbackFace, kDetailsPointSize);
  SetFont(font);
  GetBookCtrl()->SetFont(font);
  CreateButtons(wxOK | wxCANCEL);
  if (auto* cancel = dynamic_cast<wxButton*>(FindWindow(wxID_CANCEL))) {
    cancel->SetLabel(wxString::FromUTF8(kDetailsCancelLabel));
  }

  vendor_->SetTexts(details.vendor);
  base_address_->SetTexts(details.base_address);
  misc_->SetTexts(details.misc);
  system_->SetTexts(details.system);
  system_->SetFactsKnown(details.facts.has_value());
  bool first = true;
  for (DetailsPage* page :
       {static_cast<DetailsPage*>(vendor_), static_cast<DetailsPage*>(base_address_),
        static_cast<DetailsPage*>(misc_), static_cast<DetailsPage*>(system_)}) {
    page->Create(GetBookCtrl());
    GetBookCtrl()->AddPage(page, page->Title(), first);
    first = false;
  }
  // The pages past the original four take the size those give the sheet.
  const CapabilityList& capabilities = read.capabilities;
  capabilities_ = new CapabilitiesPage(
      GetBookCtrl(),
      CapabilityTree(read.header, capabilities, texts::kHeaderNodeName, texts::kNoCapabilities),
      capabilities.readable ? read.space.limit() : capabilities.unreadable);
  GetBookCtrl()->AddPage(capabilities_, wxString::FromUTF8(texts::kCapabilitiesPageTitle));
  space_dump_ = new SpaceDumpPage(GetBookCtrl(), read.space);
  GetBookCtrl()->AddPage(space_dump_, wxString::FromUTF8(texts::kSpaceDumpPageTitle));
  LayoutDialog();
}

int DetailsSheet::ShowModal() {
  if (const ShownHook& hook = Hook()) {
    CallAfter([this, hook] { hook(*this); });
  }
  return wxPropertySheetDialog::ShowModal();
}

}  // namespace kelvox

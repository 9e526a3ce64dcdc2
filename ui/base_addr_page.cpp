#include "ui/base_addr_page.h"

#include "details/base_address_texts.h"
#include "details/details_texts.h"
#include "ui/details_page_templates.h"

namespace kelvox {

wxIMPLEMENT_DYNAMIC_CLASS(CBaseAddr, DetailsPage);

const DialogTemplate& CBaseAddr::Template() const { return BaseAddrTemplate(); }

wxString CBaseAddr::Title() const { return wxString::FromUTF8(kBaseAddressPageTitle); }

std::vector<TextBinding> CBaseAddr::Bindings() {
  return {
      {kBaseAddressControls[0], &base_address0}, {kBaseAddressControls[1], &base_address1},
      {kBaseAddressControls[2], &base_address2}, {kBaseAddressControls[3], &base_address3},
      {kBaseAddressControls[4], &base_address4}, {kBaseAddressControls[5], &base_address5},
      {kBaseAddressControls[6], &expansion_rom},
  };
}

}  // namespace kelvox

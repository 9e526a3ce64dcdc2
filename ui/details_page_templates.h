// The dialog templates of the three pages of the device details sheet: the vendor page
// (dialog resource 133), the base address page (dialog resource 129) and the register page
// (dialog resource 130).
// Every field is a read-only edit, so a person can select and copy a value but not change it;
// labels sit beside their fields. Also the texts the pages show that are not field texts.
#pragma once

#include "ui/dialog_template.h"

namespace kelvox {

// The label on the vendor page that links to the public PCI ID web database.
inline constexpr int kVendorListLinkControl = 1038;
inline constexpr const char* kVendorListLabel =
    "PCI Vendor and Device List (created Sun Dec  4 20:04:27 PST 2005)";
inline constexpr const char* kVendorListTarget = "https://pci-ids.ucw.cz/";

// The sheet's second button (the first is "OK"), as a Japanese system labels it.
inline constexpr const char* kDetailsCancelLabel = "キャンセル";

// The font of the sheet and its pages: the main dialog's face (or its substitute) and size.
inline constexpr int kDetailsPointSize = 12;

// The vendor page's dialog template (resource 133): vendor and device IDs, class code and their
// names, and the link label.
const DialogTemplate& VendorDeviceInfoTemplate();
// The base address page's dialog template (resource 129): the six base address registers and the
// expansion ROM base address register.
const DialogTemplate& BaseAddrTemplate();
// The register page's dialog template (resource 130): interrupt, timing, BIST, CardBus CIS pointer
// and subsystem registers.
const DialogTemplate& MiscRegsTemplate();

}  // namespace kelvox

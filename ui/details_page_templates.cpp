#include "ui/details_page_templates.h"

#include <array>

#include "details/base_address_texts.h"
#include "details/details_texts.h"
#include "details/misc_texts.h"
#include "details/vendor_page.h"
#include "ui/texts.h"

namespace kelvox {

// Rows are 16 or 18 dialog units apart: a GTK entry is about 13 units high in this font, and
// a label three units below its field's top lines up with the field's text.
constexpr ControlKind kLabel = ControlKind::kStaticText;
constexpr ControlKind kField = ControlKind::kReadOnlyEdit;
constexpr ControlKind kGroup = ControlKind::kGroupBox;

constexpr std::array kVendorControls = {
    ControlSpec{kStaticId, kLabel, kVendorIdLabel, 8, 11, 54, 10},
    ControlSpec{kVendorIdControl, kField, "", 64, 8, 50, 13},
    ControlSpec{kVendorShortNameControl, kField, "", 118, 8, 214, 13},
    ControlSpec{kVendorFullNameControl, kField, "", 118, 24, 214, 13},
    ControlSpec{kStaticId, kLabel, kDeviceIdLabel, 8, 47, 54, 10},
    ControlSpec{kDeviceIdControl, kField, "", 64, 44, 50, 13},
    ControlSpec{kChipNameControl, kField, "", 118, 44, 214, 13},
    ControlSpec{kDeviceDescriptionControl, kField, "", 118, 60, 214, 13},
    ControlSpec{kStaticId, kLabel, kClassCodeLabel, 8, 83, 54, 10},
    ControlSpec{kClassCodeControl, kField, "", 64, 80, 50, 13},
    ControlSpec{kBaseClassNameControl, kField, "", 118, 80, 214, 13},
    ControlSpec{kSubClassNameControl, kField, "", 118, 96, 214, 13},
    ControlSpec{kProgIfNameControl, kField, "", 118, 112, 214, 13},
    ControlSpec{kVendorListLinkControl, kLabel, kVendorListLabel, 8, 136, 324, 10},
};

// The base address fields are wide enough for the longest decoded text, a prefetchable 32-bit
// memory range.
constexpr std::array kBaseAddrControls = {
    ControlSpec{kStaticId, kGroup, kBaseAddressGroupLabel, 6, 4, 328, 112},
    ControlSpec{kBaseAddressControls[0], kField, "", 14, 16, 312, 13},
    ControlSpec{kBaseAddressControls[1], kField, "", 14, 32, 312, 13},
    ControlSpec{kBaseAddressControls[2], kField, "", 14, 48, 312, 13},
    ControlSpec{kBaseAddressControls[3], kField, "", 14, 64, 312, 13},
    ControlSpec{kBaseAddressControls[4], kField, "", 14, 80, 312, 13},
    ControlSpec{kBaseAddressControls[5], kField, "", 14, 96, 312, 13},
    ControlSpec{kStaticId, kGroup, kExpansionRomGroupLabel, 6, 122, 328, 32},
    ControlSpec{kBaseAddressControls[6], kField, "", 14, 136, 312, 13},
};

// Two columns of five: the interrupt and timing bytes, then the rest.
constexpr std::array kMiscControls = {
    ControlSpec{kStaticId, kLabel, kInterruptLineLabel, 8, 11, 88, 10},
    ControlSpec{kInterruptLineControl, kField, "", 98, 8, 50, 13},
    ControlSpec{kStaticId, kLabel, kInterruptPinLabel, 8, 29, 88, 10},
    ControlSpec{kInterruptPinControl, kField, "", 98, 26, 50, 13},
    ControlSpec{kStaticId, kLabel, kMaxLatencyLabel, 8, 47, 88, 10},
    ControlSpec{kMaxLatencyControl, kField, "", 98, 44, 50, 13},
    ControlSpec{kStaticId, kLabel, kMinGrantLabel, 8, 65, 88, 10},
    ControlSpec{kMinGrantControl, kField, "", 98, 62, 50, 13},
    ControlSpec{kStaticId, kLabel, kBistLabel, 8, 83, 88, 10},
    ControlSpec{kBistControl, kField, "", 98, 80, 50, 13},
    ControlSpec{kStaticId, kLabel, kLatencyTimerLabel, 160, 11, 112, 10},
    ControlSpec{kLatencyTimerControl, kField, "", 274, 8, 58, 13},
    ControlSpec{kStaticId, kLabel, kCacheLineSizeLabel, 160, 29, 112, 10},
    ControlSpec{kCacheLineSizeControl, kField, "", 274, 26, 58, 13},
    ControlSpec{kStaticId, kLabel, kCardbusCisLabel, 160, 47, 112, 10},
    ControlSpec{kCardbusCisControl, kField, "", 274, 44, 58, 13},
    ControlSpec{kStaticId, kLabel, kSubsystemVendorIdLabel, 160, 65, 112, 10},
    ControlSpec{kSubsystemVendorIdControl, kField, "", 274, 62, 58, 13},
    ControlSpec{kStaticId, kLabel, kSubsystemIdLabel, 160, 83, 112, 10},
    ControlSpec{kSubsystemIdControl, kField, "", 274, 80, 58, 13},
};

const DialogTemplate& VendorDeviceInfoTemplate() {
  static const DialogTemplate tmpl{
      340, 152, texts::kMainFace, texts::kMainFallbackFace, kDetailsPointSize, kVendorControls};
  return tmpl;
}

const DialogTemplate& BaseAddrTemplate() {
  static const DialogTemplate tmpl{
      340, 160, texts::kMainFace, texts::kMainFallbackFace, kDetailsPointSize, kBaseAddrControls};
  return tmpl;
}

const DialogTemplate& MiscRegsTemplate() {
  static const DialogTemplate tmpl{
      340, 100, texts::kMainFace, texts::kMainFallbackFace, kDetailsPointSize, kMiscControls};
  return tmpl;
}

}  // namespace kelvox

#include "ui/search_template.h"

#include <array>

#include "search/search_form.h"
#include "ui/texts.h"

namespace kelvox {

namespace search_texts {

std::span<const char* const> All() {
  static constexpr std::array kAll = {
      kTitle,         kVendorDeviceGroup, kClassGroup,  kVendorIdLabel,
      kDeviceIdLabel, kClassCodeLabel,    kQuit,        kLink,
      kTipQuit,       kTipVendorId,       kTipDeviceId, kTipClassCode,
  };
  return kAll;
}

}  // namespace search_texts

namespace {

using K = ControlKind;
namespace ids = search_ids;
namespace t = search_texts;

// Two group boxes of four rows each: a label, the typed ID and the first name on one row, the
// further names below them aligned with the ID; then the link and the button. The rows are
// 16 units apart, enough for a GTK entry at 12 points.
constexpr std::array kSearchControls = {
    ControlSpec{kStaticId, K::kGroupBox, t::kVendorDeviceGroup, 7, 5, 276, 82},
    ControlSpec{kStaticId, K::kStaticText, t::kVendorIdLabel, 14, 20, 50, 10},
    ControlSpec{ids::kVendorId, K::kEdit, "", 66, 17, 48, 14},
    ControlSpec{ids::kVendorShortName, K::kReadOnlyEdit, "", 118, 17, 158, 14},
    ControlSpec{ids::kVendorFullName, K::kReadOnlyEdit, "", 66, 33, 210, 14},
    ControlSpec{kStaticId, K::kStaticText, t::kDeviceIdLabel, 14, 54, 50, 10},
    ControlSpec{ids::kDeviceId, K::kReadOnlyEdit, "", 66, 51, 48, 14},
    ControlSpec{ids::kChipName, K::kReadOnlyEdit, "", 118, 51, 158, 14},
    ControlSpec{ids::kDeviceDescription, K::kReadOnlyEdit, "", 66, 67, 210, 14},
    ControlSpec{kStaticId, K::kGroupBox, t::kClassGroup, 7, 92, 276, 66},
    ControlSpec{kStaticId, K::kStaticText, t::kClassCodeLabel, 14, 107, 50, 10},
    ControlSpec{ids::kClassCode, K::kEdit, "", 66, 104, 48, 14},
    ControlSpec{ids::kBaseClassName, K::kReadOnlyEdit, "", 118, 104, 158, 14},
    ControlSpec{ids::kSubClassName, K::kReadOnlyEdit, "", 66, 120, 210, 14},
    ControlSpec{ids::kProgIfName, K::kReadOnlyEdit, "", 66, 136, 210, 14},
    ControlSpec{ids::kLink, K::kStaticText, t::kLink, 7, 164, 276, 10},
    ControlSpec{ids::kQuit, K::kButton, t::kQuit, 233, 178, 50, 14},
};

constexpr DialogTemplate kSearch{
    290, 198, texts::kMainFace, texts::kMainFallbackFace, 12, kSearchControls};

constexpr std::array kTooltips = {
    ControlTooltip{ids::kQuit, t::kTipQuit},
    ControlTooltip{ids::kVendorId, t::kTipVendorId},
    ControlTooltip{ids::kDeviceId, t::kTipDeviceId},
    ControlTooltip{ids::kClassCode, t::kTipClassCode},
};

}  // namespace

const DialogTemplate& SearchTemplate() { return kSearch; }

const char* SearchTooltip(int control_id) { return FindTooltip(kTooltips, control_id); }

int SearchFieldLimit(int control_id) {
  switch (control_id) {
    case ids::kVendorId:
      return kVendorIdChars;
    case ids::kDeviceId:
      return kDeviceIdChars;
    case ids::kClassCode:
      return kClassCodeChars;
    default:
      return 0;
  }
}

}  // namespace kelvox

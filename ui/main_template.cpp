#include "ui/main_template.h"

#include <array>

#include "ui/texts.h"

namespace kelvox {

namespace {

using K = ControlKind;

// Rows: the caption; the bus and function fields with their up-down controls and the rescan
// button; the list; the buttons below it. The up-down rectangles are narrow as on Windows; the
// builder widens them to GTK's "-" "+" pair and moves the rest of the row along.
constexpr std::array kMainControls = {
    ControlSpec{kStaticId, K::kStaticText, texts::kScanCaption, 7, 6, 140, 10},
    ControlSpec{kStaticId, K::kStaticText, texts::kBusLabel, 7, 25, 42, 10},
    ControlSpec{main_ids::kBusEdit, K::kEdit, "", 50, 22, 26, 14},
    ControlSpec{main_ids::kBusSpin, K::kSpinButton, "", 76, 22, 10, 14},
    ControlSpec{kStaticId, K::kStaticText, texts::kFunctionLabel, 94, 25, 42, 10},
    ControlSpec{main_ids::kFunctionEdit, K::kEdit, "", 137, 22, 18, 14},
    ControlSpec{main_ids::kFunctionSpin, K::kSpinButton, "", 155, 22, 10, 14},
    ControlSpec{kStaticId, K::kStaticText, texts::kRightArrow, 172, 25, 10, 10},
    ControlSpec{main_ids::kRescan, K::kButton, texts::kRescan, 184, 22, 44, 14},
    ControlSpec{main_ids::kList, K::kList, "", 7, 42, 326, 116},
    ControlSpec{kStaticId, K::kStaticText, texts::kDownArrow, 12, 160, 10, 10},
    ControlSpec{main_ids::kDetails, K::kButton, texts::kDetails, 7, 172, 50, 14},
    ControlSpec{main_ids::kVendorSearch, K::kButton, texts::kVendorSearch, 63, 172, 84, 14},
    ControlSpec{main_ids::kQuit, K::kButton, texts::kQuit, 283, 172, 50, 14},
};

constexpr DialogTemplate kMain{340, 191,          texts::kMainFace, texts::kMainFallbackFace,
                               12,  kMainControls};

constexpr std::array kColumns = {
    ListColumn{texts::kColumnNumber, 45},    ListColumn{texts::kColumnVendorId, 80},
    ListColumn{texts::kColumnDeviceId, 80},  ListColumn{texts::kColumnCommand, 60},
    ListColumn{texts::kColumnStatus, 60},    ListColumn{texts::kColumnRevision, 30},
    ListColumn{texts::kColumnClassCode, 70}, ListColumn{texts::kColumnHeaderType, 30},
    ListColumn{texts::kColumnComment, 200},
};

constexpr std::array kTooltips = {
    ControlTooltip{main_ids::kList, texts::kTipList},
    ControlTooltip{main_ids::kDetails, texts::kTipDetails},
    ControlTooltip{main_ids::kBusEdit, texts::kTipBus},
    ControlTooltip{main_ids::kRescan, texts::kTipRescan},
    ControlTooltip{main_ids::kQuit, texts::kTipQuit},
    ControlTooltip{main_ids::kFunctionEdit, texts::kTipFunction},
    ControlTooltip{main_ids::kVendorSearch, texts::kTipVendorSearch},
};

}  // namespace

const DialogTemplate& MainTemplate() { return kMain; }

std::span<const ListColumn> MainListColumns() { return kColumns; }

const char* MainTooltip(int control_id) { return FindTooltip(kTooltips, control_id); }

}  // namespace kelvox

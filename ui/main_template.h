// The main dialog's dialog template (resource 102): its control ids, its controls in tab order, the
// device list's columns and the tooltip of each control.
#pragma once

#include <span>

#include "ui/dialog_template.h"

namespace kelvox {

namespace main_ids {
inline constexpr int kList = 1000;
inline constexpr int kDetails = 1001;
inline constexpr int kBusEdit = 1003;
inline constexpr int kRescan = 1004;
inline constexpr int kQuit = 1005;
inline constexpr int kFunctionEdit = 1024;
inline constexpr int kVendorSearch = 1039;
inline constexpr int kBusSpin = 1041;
inline constexpr int kFunctionSpin = 1042;
}  // namespace main_ids

// The dialog's client size, font and controls.
const DialogTemplate& MainTemplate();

// One column of the device list: header text and width in pixels (left-aligned).
struct ListColumn {
  const char* header;
  int width;
};

// The nine columns in the order they are created.
std::span<const ListColumn> MainListColumns();

// The tooltip of a control of the main dialog, or null for a control without one.
const char* MainTooltip(int control_id);

}  // namespace kelvox

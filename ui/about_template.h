// The about box's dialog template (resource 100): its control ids and its controls at their exact
// places.
#pragma once

#include "ui/dialog_template.h"

namespace kelvox {

namespace about_ids {
inline constexpr int kContact = 1026;
inline constexpr int kVersion = 1027;
}  // namespace about_ids

// The about box's client size, font and controls.
const DialogTemplate& AboutTemplate();

}  // namespace kelvox

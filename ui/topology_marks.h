// The marks of the topology window's rows: a coloured dot for the worst finding at or below a
// row (red an error, orange a warning, blue a note) and a purple one for a row that changed
// since the window opened, drawn here so they look the same on every desktop theme.
#pragma once

#include <wx/imaglist.h>

#include <optional>

#include "health/link_health.h"

namespace kelvox {

// The four marks, 16 pixels square, in the order MarkImage counts them.
wxImageList* MakeMarkImages();

// The image of a row's mark: its finding's if it has one, else the change mark when it
// changed, else none (wxWithImages::NO_IMAGE, -1).
int MarkImage(std::optional<health::Severity> mark, bool changed);

}  // namespace kelvox

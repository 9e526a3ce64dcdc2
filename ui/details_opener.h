// Opening the details sheet of one function, as the main dialog's list and the topology window
// both do: its registers read and sized afresh, its link judged against the ports at both of its
// ends for the システム page's "リンクの判定", and the sheet shown modal.
#pragma once

#include "config/access.h"
#include "details/function_read.h"

namespace kelvox {

// Reads the function at `at` (in its own domain, which is selected while it is read) with
// the link verdict on its system page.
FunctionRead ReadFunctionForSheet(ConfigAccess& access, FunctionLocation at);

// Reads the function at `at` and shows its sheet until it is closed.
void OpenDetailsSheet(ConfigAccess& access, FunctionLocation at);

}  // namespace kelvox

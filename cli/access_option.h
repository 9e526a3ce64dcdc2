// The --source option of the commands that read configuration space: which backend to read
// through ("sysfs", "port", "cfgmgr", or a text dump file), or the machine's default one. Its
// usage words and help are options/shared_options.h's, which the window shares.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "config/access.h"
#include "config/access_source.h"
#include "options/shared_options.h"

namespace kelvox::cli {

// Opens the backend for a --source value (nothing: the default backend). Commands take one as
// a parameter so tests can hand them a simulated bus.
using AccessOpener = std::function<OpenedAccess(const std::optional<std::string>& source)>;

// The real opener: the default backend, or the one `source` names.
OpenedAccess OpenSourceAccess(const std::optional<std::string>& source);

// Warns on `err` ("kelvox-cli: COMMAND: warning: ...") when the backend's reads gave all ones
// for a reason a person should know (ConfigAccess::ReadProblem).
void WarnReadProblem(std::string_view command, const ConfigAccess& access, std::ostream& err);

// Why a command could not open its backend, as its one line says it: "COMMAND: --source:
// REASON" for a --source given, "COMMAND: REASON" for the default backend.
std::string OpenFailure(std::string_view command, const std::optional<std::string>& source,
                        const OpenedAccess& opened);

}  // namespace kelvox::cli

// kelvox-cli capture: writes the present functions of this machine as a captured bus in the
// lspci dump format with writable-mask lines (config/capture/capture_text.h), so that
// `--source FILE` shows them anywhere as the live machine shows them, base address ranges
// included (config/bus_capture.h). Nothing is written to any device.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "cli/access_option.h"
#include "cli/command.h"

namespace kelvox::cli {

inline constexpr std::string_view kCaptureSummary =
    "the bus as lspci -x text, sizes and facts too, for --source";

const CommandHelp& CaptureHelp();
std::span<const OptionSpec> CaptureOptions();

// Parses `args` (--bus or --all, -o, --source), opens the backend through `open`, captures and
// writes the capture to the -o file (files/output_file.h) or to `out`. A register the capture
// cannot size as the machine does is named on `err` ("kelvox-cli: capture: warning: ...") and the
// capture is still written. On bad input, a backend that cannot be captured or an unwritable file:
// one line on `err`, nothing on `out`, no file, and 2.
int RunCapture(std::span<const std::string> args, std::ostream& out, std::ostream& err,
               const AccessOpener& open);

// RunCapture with the real backends: the function the command table calls.
int CaptureCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli

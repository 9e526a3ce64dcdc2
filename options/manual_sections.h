// The parts of the manual pages kelvox(1) and kelvox-cli(1) that both pages hold: how each
// access method reaches the hardware, the capture format, the files read and the environment.
// Written once here; each page adds its own synopsis, options, exit status and examples.
#pragma once

#include <string>
#include <string_view>

#include "options/help_document.h"

namespace kelvox {

const HelpSection& AccessMethodsSection();
const HelpSection& CaptureFormatSection();
const HelpSection& FilesSection();
const HelpSection& EnvironmentSection();

// The first lines of a manual page in section 1: ".TH", the NAME line ("kelvox-cli \- ...")
// that whatis and lexgrog read. `program` is the command's name, `version` the project's.
std::string RoffPageHead(std::string_view program, std::string_view version, std::string_view what);

}  // namespace kelvox

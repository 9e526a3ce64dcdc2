#include "cli/capture_command.h"

#include <array>
#include <optional>
#include <ostream>

#include "cli/command.h"
#include "cli/common_options.h"
#include "cli/help_text.h"
#include "cli/selector.h"
#include "config/bus_capture.h"
#include "config/capture/capture_text.h"
#include "files/output_file.h"
#include "options/args.h"

namespace kelvox::cli {

namespace {

constexpr std::array kCaptureSpecs = {
    OptionSpec{"--bus", OptionSpec::Kind::kInteger, 0, 255, {}, true},
    OptionSpec{"--all", OptionSpec::Kind::kFlag},
    OptionSpec{"-o", OptionSpec::Kind::kText},
    kSlotSpec,
    kIdSpec,
    kSourceSpec,
};

constexpr std::array kCaptureOwnHelp = {
    HelpOption{"--bus N",
               "capture bus N only: decimal 0 to 255 (a bare 10 is ten), or "
               "hexadecimal with 0x or a digit a-f (0x1a, 1a)"},
    HelpOption{"--all", "capture every bus (the default)"},
    HelpOption{"-o FILE",
               "write FILE instead of standard output. A regular file is replaced atomically (a "
               "temporary file in its folder is renamed over it) and keeps its permissions; one "
               "of another user, or one whose folder allows no replacement, is written in "
               "place. A symbolic link is followed and its target replaced. /dev/stdout, "
               "/dev/fd/N and /proc/self/fd/N are written through the open descriptor where it "
               "stands (after what is there, when the shell opened it with >>); a device or "
               "FIFO (/dev/null, a named pipe with a reader) is written in place. A folder or a "
               "read-only file is refused and left as it is"},
};

constexpr CommandHelp kCaptureHelp{
    "[--bus N | --all] [-o FILE]",
    "Writes the present functions (those `list` shows) as text that --source reads back, in "
    "the format of lspci -x, which lspci -F reads too: per function the header line "
    "\"BB:DD.F CCCC: VVVV:DDDD (rev RR)\" (with its domain first when a function is outside "
    "domain 0000) and every byte of its space the access method can read in hex lines (as "
    "lspci -xxxx writes them: 64 bytes of the header, 256, or 4096 with three digits of "
    "offset from 0x100), then a line \"# writable RR "
    "XXXXXXXX\" for each base address or ROM register whose sizing read-back is not zero (the "
    "bits a sizing write of all ones changes, worked out from the kernel's resource file) and "
    "a line \"# fact NAME VALUE\" for each thing the system knows of it (driver, interrupt, "
    "link, ...). Reading the capture with --source gives the same rows, details, ranges and "
    "tree as the live machine.\n"
    "\n"
    "Nothing is written to any device: --source port is refused, as sizing there means "
    "writing all ones into the devices' registers. With -s or -d, only the functions they "
    "choose are captured.",
    kCaptureOwnHelp,
    kSelectOptions | kSourceOption,
};

}  // namespace

const CommandHelp& CaptureHelp() { return kCaptureHelp; }
std::span<const OptionSpec> CaptureOptions() { return kCaptureSpecs; }

int RunCapture(std::span<const std::string> args, std::ostream& out, std::ostream& err,
               const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kCaptureSpecs);
  if (!parsed.ok()) return Fail(err, "capture: " + parsed.error);
  if (parsed.options.help) {
    out << CommandHelpTextOf("capture");
    return kExitOk;
  }
  Selector selector;
  if (const std::string error = ReadSelection(parsed.options, selector); !error.empty()) {
    return Fail(err, "capture: " + error);
  }
  if (parsed.options.Has("--bus") && parsed.options.Has("--all")) {
    return Fail(err, "capture: --bus and --all exclude each other");
  }
  const std::optional<std::string> source = parsed.options.Text("--source");
  const OpenedAccess opened = open(source);
  if (!opened.access) return Fail(err, OpenFailure("capture", source, opened));

  std::optional<int> bus;
  if (parsed.options.Has("--bus")) bus = static_cast<int>(parsed.options.Integer("--bus", 0));
  ConfigAccess& access = *opened.access;
  const auto chosen = [&access, &selector](FunctionLocation at) {
    if (!selector.MatchesPlace(at)) return false;
    if (selector.id_text.empty()) return true;
    return selector.MatchesIds(access.Read(at.bus, at.device, at.function, 0x00),
                               access.Read(at.bus, at.device, at.function, 0x08));
  };
  const BusCapture capture =
      selector.Given() ? CaptureBus(access, bus, chosen) : CaptureBus(access, bus);
  if (!capture.bus) return Fail(err, "capture: " + capture.error);
  if (capture.bus->Locations().empty() && selector.Given()) {
    Warn(err, "capture: " + NothingMatches(selector));
    return kExitNothing;
  }
  if (capture.bus->Locations().empty()) {
    return Fail(err, bus ? "capture: no function present on bus " + std::to_string(*bus)
                         : std::string("capture: no function present"));
  }
  const std::string text = FormatSimulatedBus(*capture.bus);

  const std::optional<std::string> file = parsed.options.Text("-o");
  if (file && *file != "-") {
    if (const std::string error = WriteOutputFile(*file, text); !error.empty()) {
      return Fail(err, "capture: " + error);
    }
  } else {
    out << text;
  }
  for (const std::string& warning : capture.warnings) Warn(err, "capture: warning: " + warning);
  return kExitOk;
}

int CaptureCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunCapture(args, out, err, OpenSourceAccess);
}

}  // namespace kelvox::cli

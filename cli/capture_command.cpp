#include "cli/capture_command.h"

#include <array>
#include <optional>
#include <ostream>

#include "cli/command.h"
#include "config/bus_capture.h"
#include "config/capture/capture_text.h"
#include "files/output_file.h"
#include "options/args.h"

namespace kelvox::cli {

namespace {
constexpr std::array kCaptureOptions = {
    OptionSpec{"--bus", OptionSpec::Kind::kInteger, 0, 255},
    OptionSpec{"--all", OptionSpec::Kind::kFlag},
    OptionSpec{"-o", OptionSpec::Kind::kText},
    OptionSpec{"--source", OptionSpec::Kind::kText},
};

constexpr char kCaptureHelpText[] =
    "kelvox-cli capture [--bus N | --all] [-o FILE] " KELVOX_SOURCE_USAGE
    "\n"
    "\n"
    "  Writes the present functions (those `list` shows) as text that --source reads\n"
    "  back: per function the header line \"BB:DD.F CCCC: VVVV:DDDD (rev RR)\" and its\n"
    "  registers 0x00-0x3F in the hex lines of lspci -x (lspci -F reads the file), then\n"
    "  one line \"# writable RR XXXXXXXX\" for each base address or ROM register whose\n"
    "  sizing read-back is not zero: the bits a sizing write of all ones changes, worked\n"
    "  out from the kernel's resource file. Reading the capture with --source gives the\n"
    "  same rows, details and base address ranges as the live machine. Nothing is\n"
    "  written to any device: --source port is refused, as sizing there means writing\n"
    "  all ones into the devices' registers.\n"
    "\n"
    "  --bus N        capture bus N only, decimal 0 to 255\n"
    "  --all          capture every bus (the default)\n"
    "  -o FILE        write FILE instead of standard output. A regular file is replaced\n"
    "                 atomically (a temporary file in its folder is renamed over it) and\n"
    "                 keeps its permissions; one of another user, or one whose folder\n"
    "                 allows no replacement, is written in place. A symbolic link is\n"
    "                 followed and its target replaced. /dev/stdout, /dev/fd/N and\n"
    "                 /proc/self/fd/N are written through the open descriptor where it\n"
    "                 stands (after what is there, when the shell opened it with >>); a\n"
    "                 device or FIFO (/dev/null, a named pipe with a reader) is written in\n"
    "                 place. A folder or a read-only file is refused and left as it is\n";
}  // namespace

std::string CaptureHelp() { return std::string(kCaptureHelpText) + std::string(kSourceOptionHelp); }

int RunCapture(std::span<const std::string> args, std::ostream& out, std::ostream& err,
               const AccessOpener& open) {
  const ParseResult parsed = ParseOptions(args, kCaptureOptions);
  if (!parsed.ok()) return Fail(err, "capture: " + parsed.error);
  if (parsed.options.help) {
    out << CaptureHelp();
    return kExitOk;
  }
  if (parsed.options.Has("--bus") && parsed.options.Has("--all")) {
    return Fail(err, "capture: --bus and --all exclude each other");
  }
  const OpenedAccess opened = open(parsed.options.Text("--source"));
  if (!opened.access) return Fail(err, opened.error);

  std::optional<int> bus;
  if (parsed.options.Has("--bus")) bus = static_cast<int>(parsed.options.Integer("--bus", 0));
  const BusCapture capture = CaptureBus(*opened.access, bus);
  if (!capture.bus) return Fail(err, "capture: " + capture.error);
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

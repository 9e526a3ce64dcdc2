// Judging the health of a machine's PCI Express functions from what was read of them: each
// link against what both of its ends can do, the narrowest link on each endpoint's way to its
// root port, the error counters and error bits, links that are down, and functions of a class
// that needs a driver without one. Plain data in, findings out: the terminal's `health`
// gathers the data, tests hand it in directly.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/error_counters.h"
#include "config/function_location.h"

namespace kelvox::health {

// A link as one end sees it: what it can do (its maximum speed in GT/s and width) and what it
// runs at now; 0 where that is not known.
struct LinkState {
  double max_speed = 0;
  int max_width = 0;
  double speed = 0;
  int width = 0;
};

// The PCI Express port types that matter here.
inline constexpr int kEndpoint = 0, kLegacyEndpoint = 1, kRootPort = 4, kUpstreamPort = 5,
                     kDownstreamPort = 6, kExpressToPciBridge = 7;

struct HealthFunction {
  std::string address;  // as the terminal writes it
  // Where it sits; nothing for a function the system cannot place in a bus.
  std::optional<FunctionLocation> at;
  std::string name;  // what it is (its class's name), for the reader
  uint16_t vendor_id = 0, device_id = 0;
  std::string vendor_name, device_name;  // from the ID list in use, "" where it has none
  uint32_t class_code = 0;
  int parent = -1;      // the index of the bridge it hangs from, -1 at the top
  int port_type = -1;   // the PCI Express port type, -1 where it is not known
  bool bridge = false;  // a PCI-PCI bridge (header layout 1)
  std::optional<LinkState> link;
  // Whether the data link layer is up, where the port reports it; whether it is training.
  std::optional<bool> link_active;
  bool link_training = false;
  // The device lowers its link speed when idle, or may (a display controller, ASPM).
  bool manages_speed = false;
  std::optional<std::string> driver;  // "" none bound; nothing when not known
  std::optional<std::string> power_state;
  std::optional<bool> enabled;
  std::vector<ErrorCounter> counters;
  // The names of the AER status bits set now, as lspci names them; where they could be read.
  std::vector<std::string> uncorrectable_now, correctable_now;
};

enum class Severity { kNote = 0, kWarning = 1, kError = 2 };

struct Finding {
  Severity severity = Severity::kWarning;
  // "link", "path", "link_down", "aer_counter", "aer_status", "no_driver", "d3cold",
  // "disabled": a stable name for scripts.
  std::string kind;
  std::string address;
  std::string text;
  // A link finding's other end: the port above `address`; "" for the other kinds.
  std::string port = {};
};

// The bandwidth of a link per direction in GB/s: its speed times its width, less its encoding
// (8b/10b to 5 GT/s, 128b/130b to 32 GT/s, none counted for the FLIT mode of 64 GT/s).
double Bandwidth(double speed, int width);

// "16GT/s", "2.5GT/s", as lspci writes a speed.
std::string SpeedText(double speed);

// "16GT/s x16": a link's speed and width, "?" for a part that is not known (0).
std::string LinkText(double speed, int width);

// "error", "warning" or "note", as the terminal and the metrics name a severity.
const char* SeverityName(Severity severity);

// Where the PCI Express capability could not be read (sysfs gives a user the header only),
// gives each function with a link a port type from where it sits: a bridge at the top is a
// root port, a bridge below a root or downstream port a switch's upstream port, a bridge below
// that a downstream port, anything else with a link an endpoint.
void InferPortTypes(std::vector<HealthFunction>& functions);

// The findings of `functions`, worst first (errors, warnings, then notes), in the functions'
// order within each.
std::vector<Finding> JudgeHealth(const std::vector<HealthFunction>& functions);

// "health: 2 findings (1 error, 1 warning), 1 note, 12 functions checked", or "health: no
// findings, 12 functions checked".
std::string SummaryLine(const std::vector<Finding>& findings, size_t checked);

// Whether any finding is more than a note: the command's exit status.
bool AnyFound(const std::vector<Finding>& findings);

}  // namespace kelvox::health

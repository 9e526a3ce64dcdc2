#include "health/link_health.h"

#include <algorithm>
#include <cstdio>

namespace kelvox::health {

namespace {

bool IsUpstreamEnd(int type) {
  return type == kEndpoint || type == kLegacyEndpoint || type == kUpstreamPort ||
         type == kExpressToPciBridge;
}

bool IsDownstreamPort(int type) { return type == kRootPort || type == kDownstreamPort; }

std::string GigabytesText(double gigabytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f GB/s", gigabytes);
  return text;
}

// What a link runs at now: as the device sees it, else as the port above sees it.
LinkState Actual(const HealthFunction& device, const HealthFunction& port) {
  LinkState now = *device.link;
  if ((now.speed == 0 || now.width == 0) && port.link) {
    if (now.speed == 0) now.speed = port.link->speed;
    if (now.width == 0) now.width = port.link->width;
  }
  return now;
}

// The link between `device` and the port above it, when both ends are PCI Express.
const HealthFunction* PortAbove(const std::vector<HealthFunction>& functions,
                                const HealthFunction& device) {
  if (!IsUpstreamEnd(device.port_type) || !device.link || device.parent < 0) return nullptr;
  const HealthFunction& port = functions[static_cast<size_t>(device.parent)];
  if (!IsDownstreamPort(port.port_type) || !port.link) return nullptr;
  return &port;
}

void JudgeLink(const std::vector<HealthFunction>& functions, const HealthFunction& device,
               std::vector<Finding>& findings) {
  const HealthFunction* port = PortAbove(functions, device);
  if (port == nullptr) return;
  const LinkState now = Actual(device, *port);
  const double can_speed = std::min(device.link->max_speed, port->link->max_speed);
  const int can_width = std::min(device.link->max_width, port->link->max_width);
  if (can_speed <= 0 || can_width <= 0 || now.speed <= 0 || now.width <= 0) return;
  const bool slow = now.speed < can_speed, narrow = now.width < can_width;
  if (!slow && !narrow) return;
  std::string text = "link " + port->address + " - " + device.address + " at " +
                     LinkText(now.speed, now.width) + ", both ends can " +
                     LinkText(can_speed, can_width);
  if (slow && device.manages_speed) {
    text += " (many devices lower their link speed when idle: check it under load)";
  }
  findings.push_back({Severity::kWarning, "link", device.address, std::move(text), port->address});
}

// The narrowest link between an endpoint and its root port, when it is not the endpoint's own.
void JudgePath(const std::vector<HealthFunction>& functions, const HealthFunction& endpoint,
               std::vector<Finding>& findings) {
  if (endpoint.port_type != kEndpoint && endpoint.port_type != kLegacyEndpoint) return;
  const HealthFunction* port = PortAbove(functions, endpoint);
  if (port == nullptr) return;
  const LinkState own = Actual(endpoint, *port);
  const double own_bandwidth = Bandwidth(own.speed, own.width);
  if (own_bandwidth <= 0) return;
  double narrowest = own_bandwidth;
  std::string limiting;
  // Up through the switches: a downstream port hangs from a switch's upstream port, whose link
  // goes on up. At most as many steps as there are functions.
  const HealthFunction* below = port;
  for (size_t steps = 0; steps < functions.size() && below->parent >= 0; ++steps) {
    const HealthFunction& upstream = functions[static_cast<size_t>(below->parent)];
    const HealthFunction* next = PortAbove(functions, upstream);
    if (upstream.port_type != kUpstreamPort || next == nullptr) break;
    const LinkState link = Actual(upstream, *next);
    const double bandwidth = Bandwidth(link.speed, link.width);
    if (bandwidth > 0 && bandwidth < narrowest * 0.999) {
      narrowest = bandwidth;
      limiting =
          next->address + " - " + upstream.address + " at " + LinkText(link.speed, link.width);
    }
    below = next;
  }
  if (limiting.empty()) return;
  findings.push_back({Severity::kWarning, "path", endpoint.address,
                      "gets " + GigabytesText(narrowest) + " per direction, not the " +
                          GigabytesText(own_bandwidth) + " of its own link: the link " + limiting +
                          " is the narrowest on its way to the root port"});
}

void JudgeCounters(const HealthFunction& function, std::vector<Finding>& findings) {
  static constexpr struct {
    const char* group;
    const char* what;
    Severity severity;
  } kGroups[] = {
      {"fatal", "fatal errors", Severity::kError},
      {"nonfatal", "non-fatal errors", Severity::kError},
      {"correctable", "correctable errors", Severity::kWarning},
      {"rootport_fatal", "fatal errors received from below", Severity::kError},
      {"rootport_nonfatal", "non-fatal errors received from below", Severity::kError},
      {"rootport_correctable", "correctable errors received from below", Severity::kWarning},
  };
  for (const auto& [group, what, severity] : kGroups) {
    std::string named;
    uint64_t total = 0;
    for (const ErrorCounter& counter : function.counters) {
      if (counter.group != group || counter.count == 0) continue;
      if (counter.name.starts_with("TOTAL_")) {
        total = counter.count;
      } else {
        named += (named.empty() ? "" : ", ") + counter.name + " " + std::to_string(counter.count);
      }
    }
    if (named.empty() && total == 0) continue;
    std::string text =
        "AER counts " + (total > 0 ? std::to_string(total) + " " : "") + what + " since boot";
    if (!named.empty()) text += ": " + named;
    findings.push_back({severity, "aer_counter", function.address, std::move(text)});
  }
  const auto status = [&](const std::vector<std::string>& names, const char* what,
                          Severity severity) {
    if (names.empty()) return;
    std::string text = std::string("AER status has ") + what + " set now:";
    for (const std::string& name : names) text += " " + name;
    findings.push_back({severity, "aer_status", function.address, std::move(text)});
  };
  status(function.uncorrectable_now, "uncorrectable errors", Severity::kError);
  status(function.correctable_now, "correctable errors", Severity::kWarning);
}

// A port with a device below whose link is down or still training.
void JudgeLinkUp(const std::vector<HealthFunction>& functions, size_t index,
                 std::vector<Finding>& findings) {
  const HealthFunction& port = functions[index];
  if (!IsDownstreamPort(port.port_type)) return;
  const bool has_device = std::any_of(functions.begin(), functions.end(), [&](const auto& f) {
    return f.parent == static_cast<int>(index);
  });
  if (!has_device) return;
  if (port.link_active == false) {
    findings.push_back({Severity::kError, "link_down", port.address,
                        "link to the device below is down (no DL_Active)"});
  } else if (port.link_training) {
    findings.push_back({Severity::kWarning, "link_down", port.address,
                        "link to the device below is still training"});
  }
}

// The classes whose functions do nothing without a driver: storage, network, display,
// multimedia, serial bus controllers (USB, SMBus, ...), wireless, processing accelerators.
bool NeedsDriver(uint32_t class_code) {
  switch (class_code >> 16) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x0C:
    case 0x0D:
    case 0x12:
      return true;
    default:
      return false;
  }
}

}  // namespace

double Bandwidth(double speed, int width) {
  if (speed <= 0 || width <= 0) return 0;
  const double encoding = speed <= 5.0 ? 8.0 / 10.0 : speed <= 32.0 ? 128.0 / 130.0 : 1.0;
  return speed * encoding * width / 8.0;
}

std::string LinkText(double speed, int width) {
  return (speed > 0 ? SpeedText(speed) : "?") + " x" + (width > 0 ? std::to_string(width) : "?");
}

const char* SeverityName(Severity severity) {
  return severity == Severity::kError     ? "error"
         : severity == Severity::kWarning ? "warning"
                                          : "note";
}

std::string SpeedText(double speed) {
  char text[32];
  std::snprintf(text, sizeof text, "%gGT/s", speed);
  return text;
}

void InferPortTypes(std::vector<HealthFunction>& functions) {
  // Tree order: a bridge comes before what hangs from it.
  for (HealthFunction& function : functions) {
    if (function.port_type >= 0 || !function.link) continue;
    const int above =
        function.parent < 0 ? -1 : functions[static_cast<size_t>(function.parent)].port_type;
    if (!function.bridge) {
      function.port_type = kEndpoint;
    } else if (function.parent < 0) {
      function.port_type = kRootPort;
    } else if (IsDownstreamPort(above)) {
      function.port_type = kUpstreamPort;
    } else if (above == kUpstreamPort) {
      function.port_type = kDownstreamPort;
    }
  }
}

std::vector<Finding> JudgeHealth(const std::vector<HealthFunction>& functions) {
  std::vector<Finding> findings;
  for (size_t i = 0; i < functions.size(); ++i) {
    const HealthFunction& function = functions[i];
    JudgeLinkUp(functions, i, findings);
    JudgeLink(functions, function, findings);
    JudgePath(functions, function, findings);
    JudgeCounters(function, findings);
    if (function.driver && function.driver->empty() && NeedsDriver(function.class_code)) {
      findings.push_back({Severity::kWarning, "no_driver", function.address,
                          "no driver is bound (" + function.name + ")"});
    }
    if (function.power_state == "D3cold") {
      findings.push_back({Severity::kNote, "d3cold", function.address,
                          "asleep in D3cold (power saving): not woken to be checked"});
    } else if (function.enabled == false && function.driver && !function.driver->empty()) {
      findings.push_back({Severity::kNote, "disabled", function.address,
                          "disabled (enable 0) though a driver is bound"});
    }
  }
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& a, const Finding& b) { return a.severity > b.severity; });
  return findings;
}

std::string SummaryLine(const std::vector<Finding>& findings, size_t checked) {
  size_t errors = 0, warnings = 0, notes = 0;
  for (const Finding& finding : findings) {
    (finding.severity == Severity::kError     ? errors
     : finding.severity == Severity::kWarning ? warnings
                                              : notes)++;
  }
  const auto count = [](size_t n, const char* one) {
    return std::to_string(n) + " " + one + (n == 1 ? "" : "s");
  };
  std::string line = "health: ";
  if (errors + warnings == 0) {
    line += "no findings";
  } else {
    line += count(errors + warnings, "finding") + " (" + count(errors, "error") + ", " +
            count(warnings, "warning") + ")";
  }
  if (notes > 0) line += ", " + count(notes, "note");
  return line + ", " + count(checked, "function") + " checked";
}

bool AnyFound(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.severity != Severity::kNote; });
}

}  // namespace kelvox::health

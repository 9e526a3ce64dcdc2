#include "cli/health_metrics.h"

#include <cstdio>
#include <set>

#include "caps/cap_field.h"

namespace kelvox::cli {

namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// The metric families in order, each with its help and type once.
class Writer {
 public:
  void Family(const char* name, const char* type, const char* help) {
    text_ += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
  }
  void Sample(const char* name, const std::string& labels, const std::string& value) {
    text_ += std::string(name) + (labels.empty() ? "" : "{" + labels + "}") + " " + value + "\n";
  }
  std::string Done() { return text_ + "# EOF\n"; }

 private:
  std::string text_;
};

std::string Label(const char* name, std::string_view value) {
  return std::string(name) + "=\"" + LabelValue(value) + "\"";
}

}  // namespace

std::string LabelValue(std::string_view text) {
  std::string value;
  value.reserve(text.size());
  for (const char c : text) {
    if (c == '\\') {
      value += "\\\\";
    } else if (c == '"') {
      value += "\\\"";
    } else if (c == '\n') {
      value += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      value += ' ';
    } else {
      value += c;
    }
  }
  return value;
}

std::string HealthMetrics(const std::vector<health::HealthFunction>& functions,
                          const std::vector<health::Finding>& findings) {
  Writer out;
  out.Family("kelvox_pcie_function_info", "gauge",
             "A PCI function that is present: its address, IDs, class, driver and names.");
  for (const health::HealthFunction& f : functions) {
    out.Sample("kelvox_pcie_function_info",
               Label("address", f.address) + "," + Label("vendor", Hex(f.vendor_id, 4)) + "," +
                   Label("device", Hex(f.device_id, 4)) + "," +
                   Label("class", Hex(f.class_code, 6)) + "," +
                   Label("driver", f.driver.value_or("")) + "," +
                   Label("vendor_name", f.vendor_name) + "," + Label("device_name", f.device_name),
               "1");
  }
  const struct {
    const char* name;
    const char* help;
    double (*value)(const health::LinkState&);
  } kLinks[] = {
      {"kelvox_pcie_link_speed_gigatransfers_per_second", "The link's speed now, in GT/s.",
       [](const health::LinkState& l) { return l.speed; }},
      {"kelvox_pcie_link_max_speed_gigatransfers_per_second",
       "The fastest this end of the link can run, in GT/s.",
       [](const health::LinkState& l) { return l.max_speed; }},
      {"kelvox_pcie_link_width_lanes", "The link's width now, in lanes.",
       [](const health::LinkState& l) { return static_cast<double>(l.width); }},
      {"kelvox_pcie_link_max_width_lanes", "The widest this end of the link can run, in lanes.",
       [](const health::LinkState& l) { return static_cast<double>(l.max_width); }},
  };
  for (const auto& link : kLinks) {
    out.Family(link.name, "gauge", link.help);
    for (const health::HealthFunction& f : functions) {
      if (!f.link || link.value(*f.link) <= 0) continue;
      out.Sample(link.name, Label("address", f.address), Number(link.value(*f.link)));
    }
  }
  out.Family("kelvox_pcie_aer_errors_total", "counter",
             "Errors the kernel's AER has counted since boot, by kind and error.");
  // A file that names a counter twice gives its first count only: a series is written once.
  std::set<std::string> written;
  for (const health::HealthFunction& f : functions) {
    for (const ErrorCounter& counter : f.counters) {
      const std::string labels = Label("address", f.address) + "," + Label("kind", counter.group) +
                                 "," + Label("error", counter.name);
      if (!written.insert(labels).second) continue;
      out.Sample("kelvox_pcie_aer_errors_total", labels, std::to_string(counter.count));
    }
  }
  out.Family("kelvox_health_finding", "gauge",
             "A finding of the health check: 1 for each function and kind found.");
  // One series per function, kind and severity, however many findings share them.
  written.clear();
  for (const health::Finding& finding : findings) {
    const std::string labels = Label("address", finding.address) + "," +
                               Label("kind", finding.kind) + "," +
                               Label("severity", health::SeverityName(finding.severity));
    if (!written.insert(labels).second) continue;
    out.Sample("kelvox_health_finding", labels, "1");
  }
  out.Family("kelvox_health_found", "gauge",
             "1 when the health check found something more than a note, else 0.");
  out.Sample("kelvox_health_found", "", health::AnyFound(findings) ? "1" : "0");
  return out.Done();
}

}  // namespace kelvox::cli

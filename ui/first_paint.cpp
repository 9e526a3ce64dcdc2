#include "ui/first_paint.h"

#include <memory>

#include "ui/startup_clock.h"

namespace kelvox {

void WhenFirstPainted(wxWindow* window, std::function<void(std::optional<double>)> report) {
  auto done = std::make_shared<bool>(false);
  window->Bind(wxEVT_PAINT, [window, done, report = std::move(report)](wxPaintEvent& event) {
    event.Skip();
    if (*done) return;
    *done = true;
    const std::optional<double> ms = MillisecondsSinceProcessStart();
    window->CallAfter([report, ms] { report(ms); });
  });
}

}  // namespace kelvox

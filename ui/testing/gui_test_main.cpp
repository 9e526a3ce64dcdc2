// GoogleTest entry for window tests. Starts wxWidgets when a display is available, so tests can
// create real windows; without one, window tests skip and plain tests still run.
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <cstdlib>

#include "ui/testing/gui_test.h"

namespace kelvox::testing {
namespace {
bool g_have_display = false;
}  // namespace

bool HaveDisplay() { return g_have_display; }

bool RunEventsUntil(const std::function<bool()>& done, int timeout_ms) {
  wxStopWatch clock;
  while (!done()) {
    if (clock.Time() > timeout_ms) return false;
    wxTheApp->Yield(true);
    wxMilliSleep(5);
  }
  return true;
}

void Settle(int ms) {
  wxStopWatch clock;
  while (clock.Time() < ms) {
    wxTheApp->Yield(true);
    wxMilliSleep(5);
  }
}

}  // namespace kelvox::testing

// The application object of the test programs: windows need one, and it needs no start-up.
class GuiTestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const bool listing = ::testing::GTEST_FLAG(list_tests);
  const char* display = std::getenv("DISPLAY");
  if (!listing && display != nullptr && *display != '\0') {
    if (wxEntryStart(argc, argv) && wxTheApp->CallOnInit()) {
      kelvox::testing::g_have_display = true;
    }
  }
  const int result = RUN_ALL_TESTS();
  if (kelvox::testing::g_have_display) {
    wxTheApp->OnExit();
    wxEntryCleanup();
  }
  return result;
}

// GoogleTest entry for window tests. Starts wxWidgets when a display is available, so tests can
// create real windows; without one, window tests skip and plain tests still run.
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <cstdlib>

#include "ui/testing/gui_test.h"

// Last: Xlib's macros (None, Status, True, False) would clash with names in the headers above.
#if defined(__WXGTK__) && defined(__UNIX__)
#include <X11/Xlib.h>
#endif

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

bool RoundTrip(int timeout_ms) {
  wxStopWatch clock;
#if defined(__WXGTK__) && defined(__UNIX__)
  const wxDisplayInfo display = wxGetDisplayInfo();
  Display* x11 = display.type == wxDisplayX11 ? static_cast<Display*>(display.dpy) : nullptr;
  // Every event the server sent before it answers the round trip is in the queue afterwards.
  if (x11 != nullptr) XSync(x11, False);
  const auto queued = [x11] { return x11 != nullptr && XPending(x11) > 0; };
#else
  const auto queued = [] { return false; };
#endif
  do {
    wxTheApp->Yield(true);
    if (clock.Time() > timeout_ms) return false;
  } while (queued() || wxTheApp->HasPendingEvents());
  return true;
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

// The program's entry: the application object, which builds the main dialog, shows it as the
// only top-level window and lets the program end when it closes.
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/access_source.h"
#include "ui/app_options.h"
#include "ui/main_dialog.h"
#include "ui/startup_clock.h"

namespace kelvox {

// The application object; it keeps nothing of its own.
class KelvoxApp : public wxApp {
 public:
  bool OnInit() override {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(argv[i].utf8_string());
    const ParsedAppOptions parsed = ParseAppOptions(args);
    if (!parsed.error.empty()) {
      std::fprintf(stderr, "%s\n", parsed.error.c_str());
      return false;
    }
    std::unique_ptr<ConfigAccess> access;
    if (parsed.options.source) {
      OpenedAccess opened = OpenAccess(*parsed.options.source);
      if (!opened.access) {
        std::fprintf(stderr, "kelvox: %s\n", opened.error.c_str());
        return false;
      }
      access = std::move(opened.access);
    } else {
      access = MakeDefaultAccess();
    }
    auto* dialog = new MainDialog(std::move(access));
    SetTopWindow(dialog);
    dialog->Show();
    if (parsed.options.measure_startup) {
      dialog->Update();
      dialog->CallAfter([dialog] {
        const std::optional<double> ms = MillisecondsSinceProcessStart();
        std::printf(
            "kelvox: %d rows listed and the window shown %.0f ms after the process started\n",
            dialog->list()->GetItemCount(), ms.value_or(-1.0));
        dialog->EndWith(0);
      });
    }
    return true;
  }
};

// True when a window system is reachable by name (X11 or Wayland).
bool DisplayNamed() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace kelvox

wxIMPLEMENT_APP_NO_MAIN(kelvox::KelvoxApp);

int main(int argc, char** argv) {
#ifdef __WXMSW__
  // Windows always has its desktop; there is no display to name.
  const bool has_display = true;
#else
  const bool has_display = kelvox::DisplayNamed();
#endif
  if (!has_display) {
    std::fprintf(stderr,
                 "kelvox: no display (DISPLAY is not set); run kelvox-cli for the scan in a "
                 "terminal\n");
    return 1;
  }
  bool started = false;
  {
    // wx would add its own line about GTK; the one below says what to do instead.
    wxLogNull quiet;
    started = wxEntryStart(argc, argv);
  }
  if (!started) {
    std::fprintf(stderr,
                 "kelvox: cannot open the display \"%s\"; run kelvox-cli for the scan "
                 "in a terminal\n",
                 std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
    return 1;
  }
  int status = 1;
  if (wxTheApp->CallOnInit()) status = wxTheApp->OnRun();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return status;
}

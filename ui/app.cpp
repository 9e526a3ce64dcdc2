// The program's entry: the application object, which builds the main dialog, shows it as the
// only top-level window and lets the program end when it closes.
#include <wx/app.h>
#include <wx/config.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "config/access_source.h"
#include "config/domain_number.h"
#include "kelvox/version.h"
#include "text/one_line.h"
#include "ui/app_options.h"
#include "ui/first_paint.h"
#include "ui/id_list_switch.h"
#include "ui/main_dialog.h"
#include "ui/message_box.h"
#include "ui/startup_clock.h"

namespace kelvox {

// The application object; it keeps only the options main() read from the command line.
class KelvoxApp : public wxApp {
 public:
  void set_options(AppOptions options) { options_ = std::move(options); }

  int OnExit() override {
    // The window's layout and recent files are written on the way out; a home folder that
    // cannot be written loses them without a box.
    const wxLogNull quiet;
    delete wxConfigBase::Set(nullptr);
    return wxApp::OnExit();
  }

  bool OnInit() override {
    // The configuration is the program's whatever its file is called: ~/.kelvox.
    SetAppName("kelvox");
    std::unique_ptr<ConfigAccess> access;
    if (options_.source) {
      OpenedAccess opened = OpenAccess(*options_.source);
      if (!opened.access) {
        // The reason names the file, which may hold a line break of its own.
        std::fprintf(stderr, "kelvox: %s\n", OneLine(opened.error).c_str());
        return false;
      }
      access = std::move(opened.access);
    } else {
      access = MakeDefaultAccess();
    }
    if (const std::string error = ChooseDomain(*access, options_.domain); !error.empty()) {
      std::fprintf(stderr, "kelvox: --domain: %s\n", error.c_str());
      return false;
    }
    // A list that cannot be used is reported once, over the window, which goes on with the
    // embedded list.
    const std::optional<std::string> ids = IdsToUse(options_);
    const std::string ids_error = ids ? IdLists().Start(*ids) : std::string();
    auto* dialog = new MainDialog(std::move(access));
    SetTopWindow(dialog);
    dialog->Show();
    if (!ids_error.empty() && options_.measure_startup) {
      // A timed start-up must not wait for a box to be closed.
      std::fprintf(stderr, "kelvox: %s\n", OneLine(ids_error).c_str());
    } else if (!ids_error.empty()) {
      dialog->CallAfter([dialog, ids_error] {
        ShowMessageBox(wxString::FromUTF8(OneLine(ids_error) + "\n" + kIdListFallbackNote),
                       "Kelvox", wxOK | wxICON_WARNING, dialog);
      });
    }
    if (options_.topology) {
      const std::optional<double> asked = MillisecondsSinceProcessStart();
      dialog->ShowTopologyWindow();
      TopologyWindow* topology = dialog->topology_window();
      // The tree is a native widget without paint events of wx's own: drawn at once instead.
      topology->Update();
      const std::optional<double> drawn = MillisecondsSinceProcessStart();
      if (options_.measure_startup) {
        std::printf(
            "kelvox: %zu functions in the topology window, filled and drawn %.0f ms after it "
            "was asked for\n",
            topology->model().rows().size(), asked && drawn ? *drawn - *asked : -1.0);
      }
    }
    if (options_.measure_startup && options_.topology) {
      dialog->CallAfter([dialog] { dialog->EndWith(0); });
    } else if (options_.measure_startup) {
      WhenFirstPainted(dialog->list_items(), [dialog](std::optional<double> ms) {
        std::printf(
            "kelvox: %d rows listed and the window shown %.0f ms after the process started\n",
            dialog->list()->GetItemCount(), ms.value_or(-1.0));
        dialog->EndWith(0);
      });
    }
    return true;
  }

 private:
  AppOptions options_;
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
  // The program's own options come from the bytes the system passed, as kelvox-cli reads them:
  // wx's copy of the arguments goes through the locale's encoding, which garbles a file name
  // that is not in it (and drops one that is not valid there at all).
  const kelvox::ParsedAppOptions parsed = kelvox::ParseAppOptions(argc, argv);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "%s\n", kelvox::OneLine(parsed.error).c_str());
    return 1;
  }
  // Help and version need no display; they are answered before one is looked for.
  if (parsed.options.help) {
    std::fputs(kelvox::AppHelp(), stdout);
    return 0;
  }
  if (parsed.options.version) {
    std::fputs("kelvox " KELVOX_VERSION "\n", stdout);
    return 0;
  }
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
    // The name comes from the environment and may hold anything: escaped, it stays one line
    // and cannot steer the terminal.
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr,
                 "kelvox: cannot open the display \"%s\"; run kelvox-cli for the scan "
                 "in a terminal\n",
                 kelvox::OneLine(display != nullptr ? display : "").c_str());
    return 1;
  }
  wxGetApp().set_options(parsed.options);
  int status = 1;
  if (wxTheApp->CallOnInit()) status = wxTheApp->OnRun();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return status;
}

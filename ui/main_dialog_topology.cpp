// The main dialog's way into the topology window, and the context menu's items for it and for
// the captured buses.
#include <wx/config.h>
#include <wx/log.h>
#include <wx/menu.h>

#include "ui/file_path.h"
#include "ui/main_dialog.h"
#include "ui/texts.h"

namespace kelvox {

void MainDialog::ShowTopologyWindow() {
  if (!topology_window_) {
    topology_window_ = new TopologyWindow(this, *access_, FileNameOf(capture_file_));
  }
  topology_window_->Show();
  topology_window_->Raise();
}

void MainDialog::AppendWindowItems(wxMenu& menu) {
  menu.AppendSeparator();
  menu.Append(kTopologyCommand, wxString::FromUTF8(texts::kTopologyMenuItem));
  menu.Append(kOpenCaptureCommand, wxString::FromUTF8(texts::kOpenCaptureMenuItem));
  menu.Append(kSaveCaptureCommand, wxString::FromUTF8(texts::kSaveCaptureMenuItem));
  wxFileHistory& recent_captures = RecentCaptures();
  if (recent_captures.GetCount() == 0) return;
  auto* recent = new wxMenu;
  recent_captures.AddFilesToMenu(recent);
  menu.AppendSubMenu(recent, wxString::FromUTF8(texts::kRecentCapturesMenu));
}

wxFileHistory& MainDialog::RecentCaptures() {
  // Read from the configuration once, before it is first shown or added to.
  if (!recent_captures_) {
    recent_captures_ = std::make_unique<wxFileHistory>();
    if (wxConfigBase* config = wxConfigBase::Get()) {
      config->SetPath("/RecentCaptures");
      recent_captures_->Load(*config);
      config->SetPath("/");
    }
  }
  return *recent_captures_;
}

void MainDialog::RememberCapture(const std::string& path) {
  RecentCaptures().AddFileToHistory(PathText(path));
  if (wxConfigBase* config = wxConfigBase::Get()) {
    config->SetPath("/RecentCaptures");
    recent_captures_->Save(*config);
    config->SetPath("/");
    const wxLogNull quiet;  // a home folder that cannot be written only loses the list
    config->Flush();
  }
}

bool MainDialog::RunWindowCommand(int command) {
  if (command == kTopologyCommand) {
    ShowTopologyWindow();
  } else if (command == kOpenCaptureCommand) {
    ChooseCaptureToOpen();
  } else if (command == kSaveCaptureCommand) {
    ChooseCaptureToSave();
  } else if (command >= wxID_FILE1 && command <= wxID_FILE9 &&
             static_cast<size_t>(command - wxID_FILE1) < RecentCaptures().GetCount()) {
    OpenCapture(
        PathBytes(RecentCaptures().GetHistoryFile(static_cast<size_t>(command - wxID_FILE1))));
  } else {
    return false;
  }
  return true;
}

}  // namespace kelvox

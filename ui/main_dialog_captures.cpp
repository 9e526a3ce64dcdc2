// The main dialog's captured buses: one opened from a file is shown here and in the topology
// window in place of the machine; the bus shown is saved as `kelvox-cli capture` writes it.
#include <wx/filedlg.h>

#include "config/access_source.h"
#include "config/bus_capture.h"
#include "config/capture/capture_text.h"
#include "config/domain_number.h"
#include "files/output_file.h"
#include "text/one_line.h"
#include "ui/file_path.h"
#include "ui/main_dialog.h"
#include "ui/message_box.h"
#include "ui/texts.h"

namespace kelvox {

namespace {

// A capture that cannot be read or written, named in one line over `owner`.
void ShowCaptureFailure(const std::string& error, wxWindow* owner) {
  ShowMessageBox(wxString::FromUTF8(OneLine(error)), wxString::FromUTF8(texts::kAppName),
                 wxOK | wxICON_EXCLAMATION, owner);
}

}  // namespace

bool MainDialog::OpenCapture(const std::string& path) {
  // A file called "sysfs" or "port" is a file here, not the backend of that name.
  OpenedAccess opened =
      OpenAccess(path.find_first_of("/\\") == std::string::npos ? "./" + path : path);
  if (!opened.access) {
    ShowCaptureFailure(opened.error, this);
    return false;
  }
  // The domain shown stays when the capture has it.
  const int domain = access_->SelectedDomain();
  if (!opened.access->SelectDomain(domain)) ChooseDomain(*opened.access, std::nullopt);
  ConfigAccess& access = *opened.access;
  // The topology window lets go of the old bus before it goes.
  if (topology_window_) topology_window_->SetAccess(access, FileNameOf(path));
  owned_access_ = std::move(opened.access);
  access_ = &access;
  capture_file_ = path;
  RememberCapture(path);
  Rescan();
  return true;
}

bool MainDialog::SaveCapture(const std::string& path) {
  const BusCapture capture = CaptureBus(*access_);
  std::string error = capture.error;
  if (capture.bus && capture.bus->Locations().empty()) error = "no function present";
  if (error.empty()) error = WriteOutputFile(path, FormatSimulatedBus(*capture.bus));
  if (!error.empty()) {
    ShowCaptureFailure(error, this);
    return false;
  }
  RememberCapture(path);
  return true;
}

void MainDialog::ChooseCaptureToOpen() {
  wxFileDialog dialog(this, wxString::FromUTF8(texts::kOpenCaptureTitle), "", "",
                      wxString::FromUTF8(texts::kCaptureFileTypes),
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return;
  OpenCapture(PathBytes(dialog.GetPath()));
}

void MainDialog::ChooseCaptureToSave() {
  // The dialog asks before an existing file is replaced; the writing then follows capture -o's
  // rules for what may be replaced and how.
  wxFileDialog dialog(this, wxString::FromUTF8(texts::kSaveCaptureTitle), "", "kelvox-capture.txt",
                      wxString::FromUTF8(texts::kCaptureFileTypes),
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return;
  SaveCapture(PathBytes(dialog.GetPath()));
}

}  // namespace kelvox

// The link label on a real dialog: how it replaces the static control, what a press on it
// opens, its colours on screen, the hand cursor and what happens to the object when its
// window goes.
#include <wx/dialog.h>
#include <wx/eventfilter.h>
#include <wx/image.h>
#include <wx/imagpnm.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <array>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "testsupport/run_program.h"
#include "testsupport/temp_folder.h"
#include "ui/about_dialog.h"
#include "ui/app_icon.h"
#include "ui/bell.h"
#include "ui/dialog_template.h"
#include "ui/static_link.h"
#include "ui/testing/gui_test.h"
#include "ui/testing/window_actions.h"

namespace kelvox {
namespace {

using testing::ClickOn;
using testing::PointAt;
using testing::RoundTrip;
using testing::RunEventsUntil;

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

constexpr int kTextId = 1026;
constexpr int kEmptyId = 1027;
constexpr int kIconId = 1028;
constexpr int kSecondId = 1029;

constexpr std::array kControls = {
    ControlSpec{kIconId, ControlKind::kIcon, "", 5, 5, 20, 20},
    ControlSpec{kTextId, ControlKind::kStaticText, "連絡先", 40, 10, 40, 10},
    ControlSpec{kEmptyId, ControlKind::kStaticText, "", 40, 30, 40, 10},
    ControlSpec{kSecondId, ControlKind::kStaticText, "https://example.org/", 40, 50, 100, 10},
};
constexpr DialogTemplate kTemplate{160, 80, "ＭＳ Ｐゴシック", "IPAPGothic", 9, kControls};

// The screen's pixels inside a window, read from the X server with ImageMagick's `import`
// (wxScreenDC on GTK 3 can hand back what was on screen before the last repaint). An empty
// image when `import` is missing, fails or takes longer than 30 seconds.
wxImage ScreenPixels(wxWindow* window) {
  wxImage image;
#ifndef _WIN32
  const wxRect rect = window->GetScreenRect();
  const testing::TempFolder folder("kelvox-shot");
  const std::string file = folder.PathOf("shot.ppm");
  const std::string crop =
      wxString::Format("%dx%d+%d+%d", rect.width, rect.height, rect.x, rect.y).ToStdString();
  const testing::ProgramRun import = testing::RunProgram(
      {"import", "-silent", "-window", "root", "-crop", crop, "+repage", "-depth", "8", file},
      testing::RunOptions().Timeout(std::chrono::seconds(30)));
  if (import.status == 0) {
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNM)) wxImage::AddHandler(new wxPNMHandler);
    image.LoadFile(wxString::FromUTF8(file), wxBITMAP_TYPE_PNM);
  }
#else
  (void)window;  // `import` reads an X server
#endif
  return image;
}

// Counts pixels of exactly one colour in an image.
int CountPixels(const wxImage& image, const wxColour& colour) {
  int count = 0;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      count += image.GetRed(x, y) == colour.Red() && image.GetGreen(x, y) == colour.Green() &&
               image.GetBlue(x, y) == colour.Blue();
    }
  }
  return count;
}

// Counts the paint events of one window while it lives; it sees them before any handler does.
class PaintCounter : public wxEventFilter {
 public:
  explicit PaintCounter(wxWindow* window) : window_(window) { wxEvtHandler::AddFilter(this); }
  ~PaintCounter() override { wxEvtHandler::RemoveFilter(this); }
  PaintCounter(const PaintCounter&) = delete;
  PaintCounter& operator=(const PaintCounter&) = delete;

  int FilterEvent(wxEvent& event) override {
    if (event.GetEventType() == wxEVT_PAINT && event.GetEventObject() == window_) ++count_;
    return Event_Skip;
  }
  int count() const { return count_; }

 private:
  wxWindow* window_;
  int count_ = 0;
};

class StaticLinkGui : public ::testing::Test {
 protected:
  void SetUp() override {
    KELVOX_REQUIRE_DISPLAY();
    dialog_ = new wxDialog(nullptr, wxID_ANY, "link");
    controls_ = ApplyDialogTemplate(dialog_, kTemplate, AppIcon());
    dialog_->Move(40, 40);
    dialog_->Show();
    ASSERT_TRUE(RunEventsUntil([this] { return dialog_->IsShownOnScreen(); }));
    previous_bell_ = SetBellHandler([this] { ++bells_; });
    previous_opener_ = CStaticLink::SetOpener([this](const wxString& target) {
      opened_.push_back(target);
      return open_succeeds_;
    });
    ASSERT_TRUE(RoundTrip());
  }

  void TearDown() override {
    SetBellHandler(previous_bell_);
    CStaticLink::SetOpener(previous_opener_);
    CStaticLink::ResetHandCursor({});
    if (dialog_) dialog_->Destroy();
    EXPECT_TRUE(RunEventsUntil([this] { return !dialog_; }));
  }

  wxWeakRef<wxDialog> dialog_;
  DialogControls controls_;
  std::function<void()> previous_bell_;
  LinkOpener previous_opener_;
  int bells_ = 0;
  bool open_succeeds_ = true;
  std::vector<wxString> opened_;
};

TEST_F(StaticLinkGui, TakesThePlaceOfTheStaticControlWithItsIdTextPlaceAndFont) {
  wxWindow* original = controls_.Find(kTextId);
  ASSERT_NE(original, nullptr);
  const wxRect rect = original->GetRect();
  const wxFont font = original->GetFont();
  CStaticLink link;
  ASSERT_TRUE(link.SubclassDlgItem(kTextId, dialog_));
  EXPECT_EQ(dialog_->FindWindow(kTextId), &link);
  EXPECT_EQ(controls_.Find(kTextId), &link);
  EXPECT_EQ(link.GetLabel(), U("連絡先"));
  EXPECT_EQ(link.GetRect(), rect);
  EXPECT_EQ(link.GetFont(), font);
  EXPECT_EQ(link.GetClassInfo()->GetClassName(), wxString("CStaticLink"));
  const std::unique_ptr<wxObject> made(wxCreateDynamicObject("CStaticLink"));
  EXPECT_NE(dynamic_cast<CStaticLink*>(made.get()), nullptr);
  int with_id = 0;
  for (wxWindow* child : dialog_->GetChildren()) with_id += child->GetId() == kTextId;
  EXPECT_EQ(with_id, 1);
  EXPECT_FALSE(link.SubclassDlgItem(4242, dialog_));
}

TEST_F(StaticLinkGui, ASuccessfulPressTurnsItPurpleOnScreenAtOnce) {
  CStaticLink link;
  link.m_link = "mailto:someone@example.org";
  ASSERT_TRUE(link.SubclassDlgItem(kTextId, dialog_));
  const wxColour blue(0, 0, 255);
  const wxColour purple(128, 0, 128);
  wxImage before;
  // The first paint reaches the screen once the window system gets to it.
  RunEventsUntil([&] {
    before = ScreenPixels(&link);
    return !before.IsOk() || CountPixels(before, blue) > 5;
  });
  if (!before.IsOk()) GTEST_SKIP() << "ImageMagick's import is needed to read the screen";
  EXPECT_GT(CountPixels(before, blue), 5);
  EXPECT_EQ(CountPixels(before, purple), 0);
  ClickOn(&link);
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], "mailto:someone@example.org");
  EXPECT_EQ(link.colour(), kLinkVisitedColour);
  // The press repaints the link by itself, with no other event (a move, an expose) to help.
  wxImage after;
  RunEventsUntil([&] {
    after = ScreenPixels(&link);
    return CountPixels(after, purple) > 5;
  });
  EXPECT_GT(CountPixels(after, purple), 5);
  EXPECT_EQ(CountPixels(after, blue), 0);
  EXPECT_EQ(bells_, 0);
}

TEST_F(StaticLinkGui, AFailedOpenBeepsAndStaysBlue) {
  open_succeeds_ = false;
  CStaticLink link("https://example.org/", false);
  ASSERT_TRUE(link.SubclassDlgItem(kTextId, dialog_));
  ASSERT_TRUE(RoundTrip());  // the link is on the screen where the click lands
  ClickOn(&link);
  EXPECT_EQ(opened_.size(), 1u);
  EXPECT_EQ(bells_, 1);
  EXPECT_EQ(link.colour(), kLinkUnvisitedColour);
  wxImage after;
  RunEventsUntil([&] {
    after = ScreenPixels(&link);
    return !after.IsOk() || CountPixels(after, wxColour(0, 0, 255)) > 5;
  });
  if (after.IsOk()) {
    EXPECT_GT(CountPixels(after, wxColour(0, 0, 255)), 5);
  }
}

TEST_F(StaticLinkGui, WithoutATargetItOpensItsOwnCaptionAndKeepsIt) {
  CStaticLink link;
  ASSERT_TRUE(link.SubclassDlgItem(kSecondId, dialog_));
  ASSERT_TRUE(RoundTrip());
  ClickOn(&link);
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], "https://example.org/");
  EXPECT_EQ(link.m_link, "https://example.org/");
}

TEST_F(StaticLinkGui, WithNeitherTargetNorCaptionAPressDoesNothing) {
  CStaticLink link;
  ASSERT_TRUE(link.SubclassDlgItem(kEmptyId, dialog_));
  link.SetSize(wxSize(60, 20));
  ASSERT_TRUE(RoundTrip());
  ClickOn(&link);
  EXPECT_TRUE(opened_.empty());
  EXPECT_EQ(bells_, 0);
  EXPECT_EQ(link.colour(), kLinkUnvisitedColour);
}

TEST_F(StaticLinkGui, TheUnderlineFontComesOnceFromTheControlsOwnFont) {
  const wxFont own = controls_.Find(kTextId)->GetFont();
  CStaticLink link;
  ASSERT_TRUE(link.SubclassDlgItem(kTextId, dialog_));
  const PaintCounter paints(&link);
  for (int paint = 1; paint <= 3; ++paint) {
    link.Refresh();
    ASSERT_TRUE(RunEventsUntil([&] { return paints.count() >= paint; })) << paint;
  }
  EXPECT_EQ(link.underline_fonts_made(), 1);
  const wxFont& underlined = link.underline_font();
  ASSERT_TRUE(underlined.IsOk());
  EXPECT_TRUE(underlined.GetUnderlined());
  EXPECT_EQ(underlined.GetFaceName(), own.GetFaceName());
  EXPECT_EQ(underlined.GetFractionalPointSize(), own.GetFractionalPointSize());
  EXPECT_EQ(underlined.GetWeight(), own.GetWeight());
}

TEST_F(StaticLinkGui, AnIconStaticAnswersPressesButIsNotReplacedOrRecoloured) {
  CStaticLink link("https://example.org/icon", false);
  ASSERT_TRUE(link.SubclassDlgItem(kIconId, dialog_));
  wxWindow* icon = dialog_->FindWindow(kIconId);
  ASSERT_NE(dynamic_cast<wxStaticBitmap*>(icon), nullptr);
  EXPECT_EQ(link.link_window(), icon);
  const wxColour before = icon->GetForegroundColour();
  ClickOn(icon);
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], "https://example.org/icon");
  EXPECT_EQ(icon->GetForegroundColour(), before);
  EXPECT_FALSE(link.GetHandle());  // no window of its own
}

TEST_F(StaticLinkGui, TheHandCursorIsLoadedOnceForEveryLink) {
  int loads = 0;
  CStaticLink::ResetHandCursor([&loads]() -> std::optional<wxCursor> {
    ++loads;
    return wxCursor(wxCURSOR_HAND);
  });
  CStaticLink first;
  CStaticLink second;
  ASSERT_TRUE(first.SubclassDlgItem(kTextId, dialog_));
  ASSERT_TRUE(second.SubclassDlgItem(kSecondId, dialog_));
  ASSERT_TRUE(RoundTrip());
  for (int round = 0; round < 2; ++round) {
    for (CStaticLink* link : {&first, &second}) {
      PointAt(link->GetScreenRect().GetPosition() + wxPoint(3, 3));
      PointAt(link->GetScreenRect().GetPosition() + wxPoint(6, 4));
    }
  }
  EXPECT_EQ(loads, 1);
  EXPECT_TRUE(first.GetCursor().IsOk());
  EXPECT_TRUE(second.GetCursor().IsOk());
}

TEST_F(StaticLinkGui, AHandCursorThatCannotBeLoadedIsNeverTriedAgain) {
  int loads = 0;
  CStaticLink::ResetHandCursor([&loads]() -> std::optional<wxCursor> {
    ++loads;
    return std::nullopt;
  });
  CStaticLink link;
  ASSERT_TRUE(link.SubclassDlgItem(kTextId, dialog_));
  ASSERT_TRUE(RoundTrip());
  for (int move = 0; move < 4; ++move) {
    PointAt(link.GetScreenRect().GetPosition() + wxPoint(2 + move, 3));
  }
  EXPECT_EQ(loads, 1);
  EXPECT_FALSE(link.GetCursor().IsOk());
}

TEST_F(StaticLinkGui, TheDesktopOpenerHandsTheExactMailLinkToXdgOpen) {
  // A fake xdg-open first on PATH records the argument it was given.
  const testing::TempFolder temp("kelvox-xdg");
  const wxString folder = wxString::FromUTF8(temp.path());
  const wxString record = folder + "/argument";
  {
    std::ofstream script((folder + "/xdg-open").utf8_string());
    script << "#!/bin/sh\nprintf '%s' \"$1\" > '" << record.utf8_string() << ".tmp'\n"
           << "mv '" << record.utf8_string() << ".tmp' '" << record.utf8_string() << "'\n";
  }
  ASSERT_EQ(chmod((folder + "/xdg-open").utf8_str(), 0755), 0);
  wxString path;
  wxGetEnv("PATH", &path);
  wxSetEnv("PATH", folder + ":" + path);
  CStaticLink::SetOpener({});

  CStaticLink link;
  link.m_link = wxString::FromUTF8(ContactLink(VersionString()));
  ASSERT_TRUE(link.SubclassDlgItem(kTextId, dialog_));
  ASSERT_TRUE(RoundTrip());
  ClickOn(&link);
  const bool recorded = RunEventsUntil([&record] { return wxFileExists(record); }, 5000);
  wxSetEnv("PATH", path);
  ASSERT_TRUE(recorded);
  std::ifstream in(record.utf8_string());
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), std::string("mailto:") + KELVOX_CONTACT_ADDRESS +
                            "?subject=Kelvoxについて&body=Kelvox%20V1.06");
  EXPECT_EQ(link.colour(), kLinkVisitedColour);
  EXPECT_EQ(bells_, 0);
}

TEST_F(StaticLinkGui, WithDeleteOnDestroyTheObjectGoesWithItsWindow) {
  auto* link = new CStaticLink(nullptr, true);
  ASSERT_TRUE(link->SubclassDlgItem(kTextId, dialog_));
  wxWeakRef<CStaticLink> watch(link);
  dialog_->Destroy();
  ASSERT_TRUE(RunEventsUntil([&watch] { return !watch; }));
}

TEST_F(StaticLinkGui, WithoutDeleteOnDestroyDestroyLeavesTheObjectToItsOwner) {
  {
    CStaticLink link("https://example.org/kept", false);
    ASSERT_TRUE(link.SubclassDlgItem(kTextId, dialog_));
    EXPECT_TRUE(link.Destroy());
    EXPECT_TRUE(RunEventsUntil([&] { return !link.IsShown(); }));
    EXPECT_EQ(link.m_link, "https://example.org/kept");
    EXPECT_EQ(dialog_->FindWindow(kTextId), &link);
  }
  EXPECT_EQ(dialog_->FindWindow(kTextId), nullptr);
}

TEST_F(StaticLinkGui, AMemberLinkLeavesTheDialogWhenItsOwnerDeletesIt) {
  {
    CStaticLink link;
    ASSERT_TRUE(link.SubclassDlgItem(kTextId, dialog_));
  }
  EXPECT_EQ(dialog_->FindWindow(kTextId), nullptr);
  EXPECT_NE(dialog_->FindWindow(kSecondId), nullptr);
}

}  // namespace
}  // namespace kelvox

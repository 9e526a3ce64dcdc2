// The Windows pieces of the window that need no window of their own: the system's error text
// and box, the help viewer's hand cursor, and the code page a link target reaches the shell in.
#include <gtest/gtest.h>
#include <wx/msw/wrapwin.h>

#include <atomic>
#include <thread>

#include "text/cp932.h"
#include "ui/error_box_win32.h"
#include "ui/hand_cursor_win32.h"
#include "ui/shell_open_win32.h"
#include "ui/testing/gui_test.h"
#include "ui/texts.h"

namespace kelvox {
namespace {

TEST(SystemErrorText, IsTheSystemsTextForTheCode) {
  const std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(SystemErrorText(0x2000FFFFu), "");
}

TEST(SystemErrorBox, IsTitledErrorWithTheTextAndNoOwner) {
  std::atomic<bool> seen{false};
  std::atomic<bool> ownerless{false};
  std::string shown;
  std::thread closer([&] {
    for (int i = 0; i < 500 && !seen; ++i) {
      if (HWND box = FindWindowA("#32770", texts::kErrorCaption)) {
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        shown = text;
        ownerless = GetWindow(box, GW_OWNER) == nullptr;
        seen = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
      Sleep(10);
    }
  });
  ShowSystemErrorBox(ERROR_FILE_NOT_FOUND);
  closer.join();
  ASSERT_TRUE(seen);
  EXPECT_TRUE(ownerless);
  // The box may trim the trailing line break the system text carries.
  std::string expected = SystemErrorText(ERROR_FILE_NOT_FOUND);
  while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) {
    expected.pop_back();
  }
  EXPECT_EQ(shown.substr(0, expected.size()), expected);
}

TEST(HelpViewerHandCursor, IsAUsableCursorOrNothing) {
  const std::optional<wxCursor> hand = LoadHelpViewerHandCursor();
  if (!hand) GTEST_SKIP() << "no winhlp32.exe cursor 106 here; links use the system hand";
  EXPECT_TRUE(hand->IsOk());
  EXPECT_NE(hand->GetHCURSOR(), nullptr);
}

TEST(InCodePage, TheMailSubjectGoesUnescapedInCp932) {
  const wxString subject = wxString::FromUTF8(texts::kMailSubject);
  const std::optional<std::string> cp932 = InCodePage(subject, 932);
  ASSERT_TRUE(cp932.has_value());
  EXPECT_EQ(*cp932, Utf8ToCp932(texts::kMailSubject).value());
  // Western code pages cannot hold it, so the shell gets the Unicode text instead.
  EXPECT_FALSE(InCodePage(subject, 1252).has_value());
  EXPECT_EQ(InCodePage("mailto:a@b?subject=x", 1252).value(), "mailto:a@b?subject=x");
}

}  // namespace
}  // namespace kelvox

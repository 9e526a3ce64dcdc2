// A search window that cannot be made: the error box, and no window kept.
#include "ui/search_window_opener.h"

#include <gtest/gtest.h>

#include <wx/log.h>
#ifdef __WXMSW__
#include <wx/msw/wrapwin.h>
#endif

#include <cerrno>

#include "ui/message_box.h"

namespace kelvox {
namespace {

TEST(SearchWindowOpener, FailedCreationShowsTheErrorBoxAndKeepsNoWindow) {
  ScopedMessageCapture capture;
  wxWindow* slot = nullptr;
  int attempts = 0;
  bool placed = false;
  const SearchWindowFactory fail = [&](wxWindow*) -> wxWindow* {
    ++attempts;
    // The error box reads the thread's last system error: GetLastError on Windows, errno
    // elsewhere.
#ifdef __WXMSW__
    ::SetLastError(ENOMEM);
#else
    errno = ENOMEM;
#endif
    return nullptr;
  };
  const SearchWindowPlacer place = [&](const wxSize&) {
    placed = true;
    return wxPoint();
  };
  OpenSearchWindow(slot, nullptr, fail, place);
  EXPECT_EQ(slot, nullptr);
  EXPECT_FALSE(placed);
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].caption, "Error");
  EXPECT_EQ(capture.messages()[0].text, wxSysErrorMsgStr(ENOMEM));
  EXPECT_EQ(capture.messages()[0].style, wxOK | wxICON_INFORMATION);
  EXPECT_EQ(capture.messages()[0].owner, nullptr);

  // The next press tries again.
  OpenSearchWindow(slot, nullptr, fail, place);
  EXPECT_EQ(attempts, 2);
  EXPECT_EQ(capture.messages().size(), 2u);
}

}  // namespace
}  // namespace kelvox

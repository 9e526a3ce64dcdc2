#include "files/read_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace kelvox {
namespace {

// A pipe holding `text` and then closed, so a read sees exactly `text` and its end.
int PipeWith(const std::string& text) {
  int ends[2];
  if (pipe(ends) != 0) return -1;
  EXPECT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(ends[1]);
  return ends[0];
}

// The size hint only spares copies: whatever it says, the whole text comes, and the limit is
// kept to the byte.
TEST(ReadAll, TheExpectedSizeIsAHintAndTheLimitIsExact) {
  const std::string text(50000, 'x');
  struct Case {
    size_t limit, expected;
    bool too_large;
  };
  for (const Case& c : {Case{50000, 0, false}, Case{50000, 50000, false}, Case{50000, 10, false},
                        Case{60000, 1 << 20, false}, Case{49999, 0, true}, Case{49999, 50000, true},
                        Case{0, 0, true}}) {
    const ScopedDescriptor fd(PipeWith(text));
    ASSERT_GE(fd.get(), 0);
    const ReadAllResult read = ReadAll(fd.get(), c.limit, c.expected);
    EXPECT_EQ(read.too_large, c.too_large) << c.limit << " " << c.expected;
    EXPECT_EQ(read.text, c.too_large ? "" : text) << c.limit << " " << c.expected;
  }
  const ScopedDescriptor empty(PipeWith(""));
  EXPECT_TRUE(ReadAll(empty.get(), 0, 100).ok());
}

}  // namespace
}  // namespace kelvox

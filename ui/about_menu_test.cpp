#include "ui/about_menu.h"

#include <gtest/gtest.h>

#include "ui/texts.h"

namespace kelvox {
namespace {

TEST(AboutMenuItem, IsCommandSixteenWithTheMenuText) {
  const auto item = AboutMenuItem(texts::kAboutMenuItem);
  ASSERT_TRUE(item.has_value());
  EXPECT_EQ(item->command, 16);
  EXPECT_STREQ(item->text, "ﾊﾞｰｼﾞｮﾝ情報(Kelvox) (&A)...");
}

TEST(AboutMenuItem, AnEmptyTextAddsNoItem) {
  EXPECT_FALSE(AboutMenuItem("").has_value());
  EXPECT_FALSE(AboutMenuItem(nullptr).has_value());
}

TEST(OpensAboutBox, TheBlockSixteenToThirtyOneOpensItAndNothingElse) {
  for (int command = 16; command <= 31; ++command) EXPECT_TRUE(OpensAboutBox(command)) << command;
  for (int command : {0, 1, 15, 32, 48, 0xF060, -16, 1000}) {
    EXPECT_FALSE(OpensAboutBox(command)) << command;
  }
}

}  // namespace
}  // namespace kelvox

#include "ui/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/space_limits.h"
#include "text/cp932.h"
#include "ui/about_template.h"
#include "ui/main_template.h"

namespace kelvox {
namespace {

TEST(Texts, EveryTextConvertsToCp932AndBackUnchanged) {
  ASSERT_GT(texts::All().size(), 40u);
  for (const char* text : texts::All()) {
    EXPECT_TRUE(RoundTripsThroughCp932(text)) << text;
  }
}

// The lines the capability and dump pages show where no more of a function could be read.
TEST(Texts, EveryReasonTheSpacePagesShowConvertsToCp932) {
  for (const char* text : {kNeedsAdministratorText, kPortForbiddenText, kPortConventionalOnlyText,
                           kCaptureHeaderOnlyText, kCaptureConventionalOnlyText,
                           kHeaderOnlyMethodText, kHeaderOnlyText, kNoFunctionText}) {
    EXPECT_TRUE(RoundTripsThroughCp932(text)) << text;
  }
}

TEST(Texts, TheTableHoldsEveryTextTheTemplatesShow) {
  std::set<std::string> table(texts::All().begin(), texts::All().end());
  for (const DialogTemplate* tmpl : {&MainTemplate(), &AboutTemplate()}) {
    EXPECT_TRUE(table.count(tmpl->face)) << tmpl->face;
    for (const ControlSpec& control : tmpl->controls) {
      if (*control.text != '\0') {
        EXPECT_TRUE(table.count(control.text)) << control.text;
      }
    }
  }
  for (const ListColumn& column : MainListColumns()) EXPECT_TRUE(table.count(column.header));
}

TEST(Texts, TitleAndMenuItemReadAsTheUserSeesThem) {
  EXPECT_EQ(std::string(texts::kMainTitle) + texts::kMainTitleSuffix, "PCIデバイス検索(95/98/Me)");
  // Half-width katakana stay half-width, one CP932 byte each: 7 of them, 2 kanji of two bytes
  // and 16 ASCII characters.
  EXPECT_EQ(Utf8ToCp932(texts::kAboutMenuItem)->size(), 27u);
}

}  // namespace
}  // namespace kelvox

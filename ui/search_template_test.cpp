// The search window's template: its texts survive CP932, every typed field has its limit and
// tooltip, and no two controls share an id.
#include "ui/search_template.h"

#include <gtest/gtest.h>

#include <set>

#include "text/cp932.h"

namespace kelvox {
namespace {

TEST(SearchTemplate, EveryTextRoundTripsThroughCp932) {
  for (const char* text : search_texts::All()) {
    EXPECT_TRUE(RoundTripsThroughCp932(text)) << text;
  }
  for (const ControlSpec& control : SearchTemplate().controls) {
    EXPECT_TRUE(RoundTripsThroughCp932(control.text)) << control.text;
  }
  EXPECT_EQ(search_texts::All().size(), 12u);
}

TEST(SearchTemplate, TypedFieldsHaveLimitsAndTooltipsAndOthersNone) {
  EXPECT_EQ(SearchFieldLimit(search_ids::kVendorId), 4);
  EXPECT_EQ(SearchFieldLimit(search_ids::kDeviceId), 4);
  EXPECT_EQ(SearchFieldLimit(search_ids::kClassCode), 6);
  EXPECT_EQ(SearchFieldLimit(search_ids::kVendorShortName), 0);
  EXPECT_STREQ(SearchTooltip(search_ids::kQuit), "ウインドウを隠す");
  EXPECT_STREQ(SearchTooltip(search_ids::kVendorId), "ベンダーIDを16進数4桁で指定します");
  EXPECT_STREQ(SearchTooltip(search_ids::kDeviceId), "デバイスIDを16進数4桁で指定します");
  EXPECT_STREQ(SearchTooltip(search_ids::kClassCode), "クラスコードを16進数6桁で指定します");
  for (int id = search_ids::kVendorShortName; id <= search_ids::kLink; ++id) {
    EXPECT_EQ(SearchTooltip(id), nullptr) << id;
  }
}

TEST(SearchTemplate, HoldsEachControlOnceInsideTheWindow) {
  const DialogTemplate& tmpl = SearchTemplate();
  std::set<int> ids;
  for (const ControlSpec& control : tmpl.controls) {
    if (control.id != kStaticId) {
      EXPECT_TRUE(ids.insert(control.id).second) << control.id;
    }
    EXPECT_LE(control.x + control.w, tmpl.width) << control.text;
    EXPECT_LE(control.y + control.h, tmpl.height) << control.text;
  }
  EXPECT_EQ(
      ids, (std::set<int>{1005, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038}));
}

}  // namespace
}  // namespace kelvox

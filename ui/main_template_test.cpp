#include "ui/main_template.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/about_template.h"

namespace kelvox {
namespace {

TEST(MainTemplate, HasEveryControlOnceInsideItsClientArea) {
  const DialogTemplate& tmpl = MainTemplate();
  EXPECT_EQ(tmpl.width, 340);
  EXPECT_EQ(tmpl.height, 191);
  EXPECT_EQ(tmpl.point_size, 12);
  std::set<int> ids;
  for (const ControlSpec& control : tmpl.controls) {
    if (control.id != kStaticId) {
      EXPECT_TRUE(ids.insert(control.id).second) << control.id;
    }
    EXPECT_LE(control.x + control.w, tmpl.width) << control.text;
    EXPECT_LE(control.y + control.h, tmpl.height) << control.text;
  }
  EXPECT_EQ(ids, (std::set<int>{1000, 1001, 1003, 1004, 1005, 1024, 1039, 1041, 1042}));
}

TEST(MainTooltip, GivesTheSevenTextsByIdAndNothingForOtherControls) {
  EXPECT_STREQ(MainTooltip(1000), "ダブルクリックでデバイス番号の詳細情報を表示する");
  EXPECT_STREQ(MainTooltip(1001), "選択されたデバイス番号の詳細情報を表示する");
  EXPECT_STREQ(MainTooltip(1003), "バス番号（0～255）を変更する。変更後は再検索をクリックする。");
  EXPECT_STREQ(MainTooltip(1004), "バス番号、機能番号で指定されたデバイス一覧を取得し、表示する");
  EXPECT_STREQ(MainTooltip(1005), "Kelvoxを終了する");
  EXPECT_STREQ(MainTooltip(1024), "機能番号（0～7）を変更する。変更後は再検索をクリックする。");
  EXPECT_STREQ(MainTooltip(1039), "ベンダーID、デバイスIDを検索するウインドウを表示する");
  for (int id : {0, kStaticId, 1041, 1042, 1002, 16}) EXPECT_EQ(MainTooltip(id), nullptr) << id;
}

TEST(AboutTemplate, KeepsTheExactPlacesOfItsControls) {
  const DialogTemplate& tmpl = AboutTemplate();
  EXPECT_EQ(tmpl.width, 223);
  EXPECT_EQ(tmpl.height, 119);
  EXPECT_EQ(tmpl.point_size, 9);
  EXPECT_STREQ(tmpl.face, "ＭＳ Ｐゴシック");
  ASSERT_EQ(tmpl.controls.size(), 5u);
  struct Place {
    int id, x, y, w, h;
  };
  const Place places[] = {{kStaticId, 11, 17, 20, 20},
                          {1027, 40, 10, 119, 8},
                          {kStaticId, 40, 25, 116, 10},
                          {1026, 40, 64, 22, 8},
                          {wxID_OK, 184, 7, 32, 14}};
  for (std::size_t i = 0; i < 5; ++i) {
    const ControlSpec& c = tmpl.controls[i];
    EXPECT_EQ(c.id, places[i].id);
    EXPECT_EQ(wxRect(c.x, c.y, c.w, c.h),
              wxRect(places[i].x, places[i].y, places[i].w, places[i].h));
  }
  EXPECT_STREQ(tmpl.controls[1].text, "Kelvox Version 1.03");
  EXPECT_STREQ(tmpl.controls[3].text, "連絡先");
  EXPECT_EQ(tmpl.controls[4].kind, ControlKind::kDefaultButton);
}

}  // namespace
}  // namespace kelvox

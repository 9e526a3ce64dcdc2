// The window's PCI ID list switch without a display: the two menu items and their labels,
// switching, the start from an --ids value, and the link label for each list.
#include "ui/id_list_switch.h"

#include <gtest/gtest.h>

#include "iddb/name_source.h"
#include "testsupport/temp_folder.h"
#include "ui/about_menu.h"
#include "ui/details_page_templates.h"

namespace kelvox {
namespace {

class IdListSwitchTest : public ::testing::Test {
 protected:
  void TearDown() override { UseEmbeddedIdList(); }

  const testing::TempFolder folder_{"kelvox-ui-ids"};
  const std::string missing_ = folder_.PathOf("missing.ids");
  const std::string system_ =
      folder_.Write("system.ids", "#\tVersion: 2023.04.10\n1af4  Red Hat, Inc.\n");
};

TEST_F(IdListSwitchTest, WithoutASystemListTheSecondItemIsGreyed) {
  const std::string_view paths[] = {missing_};
  IdListSwitch lists(paths);
  const std::vector<IdListMenuItem> items = lists.MenuItems();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].command, kEmbeddedIdListCommand);
  EXPECT_EQ(items[0].text, "PCI IDリスト: 内蔵 (2005年)");
  EXPECT_TRUE(items[0].enabled);
  EXPECT_TRUE(items[0].checked);
  EXPECT_EQ(items[1].command, kOtherIdListCommand);
  EXPECT_EQ(items[1].text, "PCI IDリスト: システム");
  EXPECT_FALSE(items[1].enabled);
  EXPECT_FALSE(items[1].checked);
  EXPECT_FALSE(lists.Choose(kOtherIdListCommand));
  EXPECT_EQ(ActiveIdList(), nullptr);
  EXPECT_FALSE(lists.Choose(kAboutCommand));
}

TEST_F(IdListSwitchTest, SwitchesBetweenTheEmbeddedAndTheSystemList) {
  const std::string_view paths[] = {missing_, system_};
  IdListSwitch lists(paths);
  EXPECT_EQ(lists.MenuItems()[1].text, "PCI IDリスト: システム (2023.04.10)");
  EXPECT_TRUE(lists.MenuItems()[1].enabled);

  EXPECT_TRUE(lists.Choose(kOtherIdListCommand));
  ASSERT_NE(ActiveIdList(), nullptr);
  EXPECT_EQ(ActiveIdList()->version, "2023.04.10");
  EXPECT_FALSE(lists.MenuItems()[0].checked);
  EXPECT_TRUE(lists.MenuItems()[1].checked);
  EXPECT_EQ(IdListLinkText(kVendorListLabel), "PCI Vendor and Device List (version 2023.04.10)");

  EXPECT_TRUE(lists.Choose(kEmbeddedIdListCommand));
  EXPECT_EQ(ActiveIdList(), nullptr);
  EXPECT_TRUE(lists.MenuItems()[0].checked);
  EXPECT_EQ(IdListLinkText(kVendorListLabel),
            "PCI Vendor and Device List (created Sun Dec  4 20:04:27 PST 2005)");
}

TEST_F(IdListSwitchTest, StartsFromAnIdsValue) {
  const std::string_view paths[] = {system_};
  {
    IdListSwitch lists(paths);
    EXPECT_EQ(lists.Start("system"), "");
    EXPECT_TRUE(lists.other_in_use());
    EXPECT_EQ(lists.MenuItems()[1].text, "PCI IDリスト: システム (2023.04.10)");
  }
  {
    // A named file takes the system list's place in the menu.
    const std::string file =
        folder_.Write("own.ids", "#\tDate:    2024-01-02 03:04:05\n8086  Intel\n");
    IdListSwitch lists(paths);
    EXPECT_EQ(lists.Start(file), "");
    EXPECT_EQ(lists.MenuItems()[1].text, "PCI IDリスト: ファイル (2024-01-02 03:04:05)");
    EXPECT_TRUE(lists.MenuItems()[1].checked);
  }
  {
    // A list that cannot be used leaves the embedded one in use, and the menu still offers
    // the system list.
    const std::string bad = folder_.Write("bad.ids", "\t0001  Device before any vendor\n");
    IdListSwitch lists(paths);
    EXPECT_EQ(lists.Start(bad), bad + ":1: device line before any vendor line");
    EXPECT_EQ(ActiveIdList(), nullptr);
    EXPECT_FALSE(lists.other_in_use());
    EXPECT_TRUE(lists.MenuItems()[1].enabled);
  }
  {
    const std::string_view none[] = {missing_};
    IdListSwitch lists(none);
    EXPECT_EQ(lists.Start("system"),
              "--ids system: no PCI ID list installed (tried " + missing_ + ")");
    EXPECT_FALSE(lists.MenuItems()[1].enabled);
    EXPECT_EQ(lists.Start("embedded"), "");
  }
}

}  // namespace
}  // namespace kelvox

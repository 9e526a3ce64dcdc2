#include "ui/domain_menu.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvox {
namespace {

TEST(DomainMenu, OneItemPerDomainOnlyWhenThereAreSeveral) {
  EXPECT_TRUE(DomainMenuItems({0}, 0).empty());
  EXPECT_TRUE(DomainMenuItems({}, 0).empty());
  const std::vector<DomainMenuItem> items = DomainMenuItems({0, 0xC0E3, 0x10000}, 0xC0E3);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].text, "0000");
  EXPECT_EQ(items[1].text, "c0e3");
  EXPECT_EQ(items[2].text, "10000");
  EXPECT_FALSE(items[0].checked);
  EXPECT_TRUE(items[1].checked);
  EXPECT_FALSE(items[2].checked);
  // Commands stay clear of the about item (16-31) and the ID list items (0x30, 0x40).
  EXPECT_EQ(items[0].command, 0x100);
  EXPECT_EQ(DomainOfCommand({0, 0xC0E3, 0x10000}, items[2].command), 0x10000);
  EXPECT_FALSE(DomainOfCommand({0, 0xC0E3, 0x10000}, 0x103).has_value());
  EXPECT_FALSE(DomainOfCommand({0, 0xC0E3, 0x10000}, 0x40).has_value());
  EXPECT_FALSE(DomainOfCommand({0, 0xC0E3, 0x10000}, 0xFF).has_value());
}

TEST(DomainMenu, AMachineWithVeryManyDomainsOffersTheFirstOnes) {
  std::vector<int> domains;
  for (int d = 0; d < 300; ++d) domains.push_back(d);
  const std::vector<DomainMenuItem> items = DomainMenuItems(domains, 299);
  ASSERT_EQ(items.size(), 256u);
  EXPECT_EQ(items.back().text, "00ff");
  EXPECT_FALSE(DomainOfCommand(domains, 0x100 + 256).has_value());
}

}  // namespace
}  // namespace kelvox

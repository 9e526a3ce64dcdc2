#include "config/function_facts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvox {
namespace {

FunctionFacts Link(const char* current_speed, int current_width, const char* max_speed,
                   int max_width) {
  FunctionFacts facts;
  facts.current_link_speed = current_speed;
  facts.current_link_width = current_width;
  facts.max_link_speed = max_speed;
  facts.max_link_width = max_width;
  return facts;
}

TEST(LinkBelowMaximum, ComparesSpeedAndWidthWhenBothAreKnown) {
  EXPECT_EQ(LinkBelowMaximum(Link("8.0 GT/s PCIe", 16, "8.0 GT/s PCIe", 16)), false);
  EXPECT_EQ(LinkBelowMaximum(Link("2.5 GT/s PCIe", 16, "16.0 GT/s PCIe", 16)), true);
  EXPECT_EQ(LinkBelowMaximum(Link("16.0 GT/s PCIe", 4, "16.0 GT/s PCIe", 16)), true);
  // Older kernels write the speed without the "PCIe".
  EXPECT_EQ(LinkBelowMaximum(Link("5 GT/s", 1, "5.0 GT/s", 1)), false);
  // Unknown on either side: no answer, never "below".
  EXPECT_EQ(LinkBelowMaximum(Link("Unknown", 1, "8.0 GT/s PCIe", 1)), std::nullopt);
  EXPECT_EQ(LinkBelowMaximum(Link("8.0 GT/s PCIe", 0, "8.0 GT/s PCIe", 4)), std::nullopt);
  EXPECT_EQ(LinkBelowMaximum(FunctionFacts{}), std::nullopt);
}

TEST(NamedFacts, EveryFactHasANameAndComesBackFromIt) {
  FunctionFacts facts;
  const std::vector<NamedFact> named = {
      {"driver", ""},
      {"modalias", "pci:v00001AF4d00001000sv00001AF4sd00000001bc02sc00i00"},
      {"irq", "11"},
      {"msi_irqs", "3"},
      {"enable", "1"},
      {"power_state", "D0"},
      {"numa_node", "-1"},
      {"iommu_group", "14"},
      {"current_link_speed", "2.5 GT/s PCIe"},
      {"current_link_width", "1"},
      {"max_link_speed", "8.0 GT/s PCIe"},
      {"max_link_width", "4"},
      {"parent", "00:1c.0"},
  };
  ASSERT_EQ(named.size(), kFactCount);
  for (const NamedFact& fact : named) {
    EXPECT_TRUE(IsFactName(fact.name));
    EXPECT_TRUE(SetNamedFact(facts, fact.name, fact.value)) << fact.name;
  }
  EXPECT_EQ(NamedFacts(facts), named);
  EXPECT_EQ(facts.driver, "");  // known: no driver bound
  EXPECT_EQ(facts.enabled, true);
  EXPECT_EQ(facts.numa_node, -1);
  EXPECT_TRUE(NamedFacts(FunctionFacts{}).empty());
}

TEST(NamedFacts, RefusesValuesThatAreNotFacts) {
  FunctionFacts facts;
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
           {"irq", "eleven"},
           {"irq", ""},
           {"irq", "11 "},
           {"irq", "99999999999"},
           {"enable", "-1"},
           {"numa_node", "0x1"},
           {"driver", "virtio\npci"},
           {"driver", std::string(kMaxFactValueBytes + 1, 'd')},
           {"no_such_fact", "1"},
       }) {
    EXPECT_FALSE(SetNamedFact(facts, name, value)) << name << "=" << value;
  }
  EXPECT_EQ(facts, FunctionFacts{});
  EXPECT_TRUE(SetNamedFact(facts, "driver", std::string(kMaxFactValueBytes, 'd')));
  EXPECT_FALSE(IsFactName("no_such_fact"));
}

}  // namespace
}  // namespace kelvox

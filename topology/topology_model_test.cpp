// The topology window's rows from a captured machine of two domains (testdata/two_domains.txt):
// a GPU trained at 2.5GT/s x8 behind a switch whose ends can 16GT/s x16, an NVMe drive that
// runs at what it can, a NIC in domain 0001. The shape, the marks carried up to the bridges,
// the filter, the changes of an automatic refresh and the details sheet's link verdict.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/health_command.h"
#include "cli/health_watch.h"
#include "config/access_source.h"
#include "topology/link_verdict.h"
#include "topology/topology_model.h"

namespace kelvox::topology {
namespace {

using health::Severity;

class TopologyModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    opened_ = OpenAccess(KELVOX_TOPOLOGY_CAPTURE);
    ASSERT_TRUE(opened_.access) << opened_.error;
    model_.Read(*opened_.access);
  }
  // The address of a row's parent, "" at the top.
  std::string ParentOf(const std::string& address) const {
    const int row = model_.RowOf(address);
    if (row < 0) return "(missing)";
    const int parent = model_.rows()[static_cast<size_t>(row)].parent;
    return parent < 0 ? "" : model_.rows()[static_cast<size_t>(parent)].address;
  }
  const TopologyRow& Row(const std::string& address) const {
    const int row = model_.RowOf(address);
    EXPECT_GE(row, 0) << address;
    return model_.rows()[static_cast<size_t>(row < 0 ? 0 : row)];
  }

  OpenedAccess opened_;
  TopologyModel model_;
};

TEST_F(TopologyModelTest, EachFunctionHangsFromItsBridgeInEveryDomain) {
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"0000:00:00.0", ""},
      {"0000:00:01.0", ""},
      {"0000:01:00.0", "0000:00:01.0"},
      {"0000:02:00.0", "0000:01:00.0"},
      {"0000:03:00.0", "0000:02:00.0"},
      {"0000:03:00.1", "0000:02:00.0"},
      {"0000:02:01.0", "0000:01:00.0"},
      {"0000:04:00.0", "0000:02:01.0"},
      {"0000:00:1f.0", ""},
      {"0001:00:00.0", ""},
      {"0001:00:02.0", ""},
      {"0001:01:00.0", "0001:00:02.0"},
  };
  ASSERT_EQ(model_.rows().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(model_.rows()[i].address, expected[i].first) << "row " << i;
    EXPECT_EQ(ParentOf(expected[i].first), expected[i].second) << expected[i].first;
  }
  EXPECT_EQ(model_.Domains(), (std::vector<int>{0, 1}));
  EXPECT_TRUE(model_.NamesDomains());
  const TopologyRow& gpu = Row("0000:03:00.0");
  EXPECT_EQ(gpu.ids, "10de:0040");
  EXPECT_EQ(gpu.driver, "nouveau");
  EXPECT_EQ(gpu.link_now, "2.5GT/s x8");
  EXPECT_EQ(gpu.link_max, "16GT/s x16");
  EXPECT_EQ(gpu.class_name, "PC Compatible");  // the embedded list's name of sub-class 0300
  EXPECT_NE(gpu.names.find("NVIDIA"), std::string::npos) << gpu.names;
  EXPECT_EQ(Row("0000:00:00.0").driver, "");
  EXPECT_TRUE(Row("0000:00:00.0").driver_known);
}

TEST_F(TopologyModelTest, AFindingMarksItsFunctionAndEveryBridgeAboveIt) {
  struct Case {
    const char* address;
    std::optional<Severity> own, mark;
  };
  const Case cases[] = {
      {"0000:03:00.0", Severity::kWarning, Severity::kWarning},  // the GPU's link
      {"0000:03:00.1", Severity::kWarning, Severity::kWarning},  // its audio, same link
      {"0000:02:00.0", std::nullopt, Severity::kWarning},
      {"0000:01:00.0", std::nullopt, Severity::kWarning},
      {"0000:00:01.0", std::nullopt, Severity::kWarning},
      {"0000:02:01.0", std::nullopt, std::nullopt},  // limited by its NVMe drive: no finding
      {"0000:04:00.0", std::nullopt, std::nullopt},
      {"0000:00:00.0", std::nullopt, std::nullopt},  // a host bridge needs no driver
      {"0001:01:00.0", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    const TopologyRow& row = Row(c.address);
    EXPECT_EQ(row.own, c.own) << c.address;
    EXPECT_EQ(row.mark, c.mark) << c.address;
  }
  const std::string gpu = FindingText(Row("0000:03:00.0"));
  EXPECT_NE(gpu.find("warning: link 0000:02:00.0 - 0000:03:00.0 at 2.5GT/s x8, both ends can "
                     "16GT/s x16"),
            std::string::npos)
      << gpu;
  EXPECT_EQ(FindingText(Row("0000:01:00.0")), "下位のデバイスに所見あり");
  EXPECT_EQ(FindingText(Row("0000:04:00.0")), "");
}

TEST_F(TopologyModelTest, TheFilterKeepsMatchesAndTheBridgesAboveThem) {
  const std::string gpu_path[] = {"0000:00:01.0", "0000:01:00.0", "0000:02:00.0", "0000:03:00.0"};
  struct Case {
    const char* filter;
    std::vector<std::string> shown;
  };
  const std::vector<Case> cases = {
      {"nouveau", {gpu_path, gpu_path + 4}},     // driver
      {"  NOUVEAU ", {gpu_path, gpu_path + 4}},  // any case, blanks
      {"10de:",
       {"0000:00:01.0", "0000:01:00.0", "0000:02:00.0", "0000:03:00.0", "0000:03:00.1"}},  // IDs
      {"0001:01", {"0001:00:02.0", "0001:01:00.0"}},   // address
      {"ethernet", {"0001:00:02.0", "0001:01:00.0"}},  // class
      {"geforce", {gpu_path, gpu_path + 4}},           // device name
      {"no such thing", {}},
  };
  for (const Case& c : cases) {
    const std::vector<bool> shown = model_.Matching(c.filter);
    std::vector<std::string> addresses;
    for (size_t i = 0; i < shown.size(); ++i) {
      if (shown[i]) addresses.push_back(model_.rows()[i].address);
    }
    EXPECT_EQ(addresses, c.shown) << "filter \"" << c.filter << "\"";
  }
  const std::vector<bool> all = model_.Matching("");
  EXPECT_EQ(std::count(all.begin(), all.end(), true), static_cast<long>(model_.rows().size()));
}

TEST_F(TopologyModelTest, ARefreshMarksWhatChangedSinceTheFirstSample) {
  // What the read found is what `health --watch` samples of the same bus.
  health::BusSample first = model_.sampled();
  EXPECT_EQ(first, cli::SampleBus(*opened_.access, false));
  ASSERT_EQ(first.count("0000:03:00.0"), 1u);
  model_.MarkChanges(first);
  for (const TopologyRow& row : model_.rows()) EXPECT_TRUE(row.changes.empty()) << row.address;

  health::BusSample later = first;
  later["0000:03:00.0"].speed = 16;  // retrained under load
  later["0000:04:00.0"].counters["correctable RxErr"] = 3;
  later.erase("0001:01:00.0");  // hot-unplugged
  later["0000:05:00.0"] = {};   // hot-plugged, not read yet
  model_.MarkChanges(later);
  EXPECT_EQ(Row("0000:03:00.0").changes,
            (std::vector<std::string>{"link 2.5GT/s x8 -> 16GT/s x8"}));
  ASSERT_EQ(Row("0000:04:00.0").changes.size(), 1u);
  EXPECT_NE(Row("0000:04:00.0").changes[0].find("rose by 3"), std::string::npos);
  // A function that went away while its row is still there is marked on it; a new one is
  // marked once a read gives it a row.
  EXPECT_EQ(Row("0001:01:00.0").changes.size(), 1u);
  EXPECT_NE(FindingText(Row("0000:03:00.0")).find("変化: link 2.5GT/s x8 -> 16GT/s x8"),
            std::string::npos);

  model_.ForgetChanges();
  for (const TopologyRow& row : model_.rows()) EXPECT_TRUE(row.changes.empty()) << row.address;
}

TEST_F(TopologyModelTest, TheLinkVerdictNamesTheFindingAtEitherEndOfALink) {
  struct Case {
    FunctionLocation at;
    std::optional<std::string> verdict;
  };
  const std::string degraded =
      "link 0000:02:00.0 - 0000:03:00.0 at 2.5GT/s x8, both ends can 16GT/s x16 (many devices "
      "lower their link speed when idle: check it under load)";
  const std::string audio =
      "link 0000:02:00.0 - 0000:03:00.1 at 2.5GT/s x8, both ends can "
      "16GT/s x16";
  const Case cases[] = {
      {{3, 0, 0, 0}, degraded},                  // the GPU, below the link
      {{3, 0, 1, 0}, audio},                     // its audio function, on the same link
      {{2, 0, 0, 0}, degraded + " / " + audio},  // the switch's port above both
      {{4, 0, 0, 0}, "正常"},                    // an NVMe drive at what it can
      {{0, 2, 0, 1}, "正常"},                    // a root port in domain 0001
      {{0, 0, 0, 0}, std::nullopt},              // a host bridge has no link
      {{9, 9, 0, 0}, std::nullopt},              // no such function
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadLinkVerdict(*opened_.access, c.at), c.verdict) << DomainLocationText(c.at);
  }
}

}  // namespace
}  // namespace kelvox::topology

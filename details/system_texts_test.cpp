#include "details/system_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/capture/simulated_bus.h"
#include "details/device_details.h"
#include "text/cp932.h"

namespace kelvox {
namespace {

std::vector<std::string> Lines(const std::vector<DetailsField>& fields) {
  std::vector<std::string> lines;
  for (const DetailsField& f : fields) lines.push_back(std::string(f.label) + ": " + f.text);
  return lines;
}

TEST(SystemPage, AFunctionWithEveryFactKnown) {
  FunctionFacts f;
  f.driver = "nvme";
  f.modalias = "pci:v0000144Dd0000A808sv0000144Dsd0000A801bc01sc08i02";
  f.irq = 16;
  f.msi_vectors = 3;
  f.enabled = true;
  f.power_state = "D0";
  f.numa_node = 0;
  f.iommu_group = "14";
  f.current_link_speed = "8.0 GT/s PCIe";
  f.current_link_width = 4;
  f.max_link_speed = "16.0 GT/s PCIe";
  f.max_link_width = 4;
  f.parent = "00:1c.0";
  EXPECT_EQ(Lines(SystemPageFields(f)),
            (std::vector<std::string>{
                "ドライバ: nvme",
                "モジュール別名: pci:v0000144Dd0000A808sv0000144Dsd0000A801bc01sc08i02",
                "カーネルのIRQ: 16",
                "MSI/MSI-X: 使用中 (3 ベクタ)",
                "有効: はい",
                "電源状態: D0",
                "NUMAノード: 0",
                "IOMMUグループ: 14",
                "リンク速度: 8.0 GT/s PCIe (最大 16.0 GT/s PCIe)",
                "リンク幅: x4 (最大 x4)",
                "リンク状態: 現在は最大より低い速度または幅",
                "親ブリッジ: 00:1c.0",
            }));
}

TEST(SystemPage, NoneAndUnknownReadDifferently) {
  // A conventional PCI function under the host bridge with no driver, as on a virtual machine.
  FunctionFacts f;
  f.driver = "";
  f.irq = 0;
  f.msi_vectors = 0;
  f.enabled = false;
  f.numa_node = -1;
  f.iommu_group = "";
  f.parent = "";
  EXPECT_EQ(Lines(SystemPageFields(f)),
            (std::vector<std::string>{"ドライバ: なし", "モジュール別名: 不明", "カーネルのIRQ: 0",
                                      "MSI/MSI-X: 不使用", "有効: いいえ", "電源状態: 不明",
                                      "NUMAノード: なし", "IOMMUグループ: なし", "リンク速度: なし",
                                      "リンク幅: なし", "リンク状態: なし",
                                      "親ブリッジ: ホストブリッジ直下"}));
  // A link the kernel cannot read: unknown, never "below its maximum".
  f.current_link_speed = "Unknown";
  f.current_link_width = 0;
  f.max_link_speed = "5.0 GT/s PCIe";
  f.max_link_width = 1;
  const std::vector<std::string> lines = Lines(SystemPageFields(f));
  EXPECT_EQ(lines[8], "リンク速度: 不明 (最大 5.0 GT/s PCIe)");
  EXPECT_EQ(lines[9], "リンク幅: 不明 (最大 x1)");
  EXPECT_EQ(lines[10], "リンク状態: 不明");
  EXPECT_TRUE(SystemPageFields(std::nullopt).empty());
}

TEST(SystemPage, TheDetailsAskTheAccessMethodAndEveryTextSurvivesCp932) {
  SimulatedBus bus;
  bus.AddFunction({0, 3, 0}, {0xF4, 0x1A, 0x00, 0x10});
  DeviceDetails without = BuildDeviceDetails(bus, 0, 3, 0);
  EXPECT_EQ(without.facts, std::nullopt);
  EXPECT_TRUE(without.system.empty());
  FunctionFacts f;
  f.driver = "virtio-pci";
  bus.SetFacts({0, 3, 0}, f);
  const DeviceDetails with = BuildDeviceDetails(bus, 0, 3, 0);
  ASSERT_EQ(with.system.size(), 12u);
  EXPECT_EQ(with.system[0].text, "virtio-pci");
  EXPECT_TRUE(RoundTripsThroughCp932(kSystemPageTitle));
  EXPECT_TRUE(RoundTripsThroughCp932(kSystemFactsUnavailableText));
  for (const DetailsField& field : with.system) {
    EXPECT_TRUE(RoundTripsThroughCp932(field.label)) << field.label;
    EXPECT_TRUE(RoundTripsThroughCp932(field.text)) << field.text;
  }
  for (const char* text :
       {"不明", "なし", "不使用", "使用中 (3 ベクタ)", "いいえ", "はい",
        "現在は最大より低い速度または幅", "最大の速度と幅", "ホストブリッジ直下", " (最大 "}) {
    EXPECT_TRUE(RoundTripsThroughCp932(text)) << text;
  }
}

}  // namespace
}  // namespace kelvox

#include "cli/details_command.h"

#include <gtest/gtest.h>

#include "cli/testing/command_run.h"
#include "details/format.h"
#include "details/testing/sample_card.h"

namespace kelvox::cli {
namespace {

using testing::Lines;
using testing::ParsedRoundTrip;
using testing::RunCommand;

TEST(DetailsCommand, PrintsEveryFieldUnderItsPageAndLabel) {
  const auto r = RunCommand(RunDetails, {"3"}, kelvox::testing::SampleCardBus());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::vector<std::string> expected = {
      "バス番号=0, 機能番号=0, デバイス番号=3 の詳細情報",
      "[ベンダ情報]",
      "ベンダID: 10ec",
      "  Realtek",
      "  Realtek Semiconductor",
      "デバイスID: 8029",
      "  RTL8029",
      "  NE2000 compatible Ethernet",
      "クラスコード: 020000",
      "  Network Controller",
      "  Ethernet",
      "  -",
      "[ベースアドレス]",
      "ベースアドレスレジスタ",
      "  e0000008 (e0000000 - e00fffff : 32bit memory space : prefetchable)",
      "  0000e001 (e000 - e01f : I/O space)",
      "  00000000 (00000000 - ffffffff : 32bit memory space)",
      "  00000000 (00000000 - ffffffff : 32bit memory space)",
      "  00000000 (00000000 - ffffffff : 32bit memory space)",
      "  00000000 (00000000 - ffffffff : 32bit memory space)",
      "拡張ＲＯＭベースアドレス",
      "  fffc0001 (fffc0000 - fffdffff : address decode enable)",
      "[割込みなど]",
      "割込みライン(IRQ): 11",
      "割込みピン: 1",
      "最大レイテンシ: 42",
      "最小グラント: 1",
      "ＢＩＳＴ: 80H",
      "レイテンシタイマ: 64",
      "キャッシュラインサイズ: 8",
      "カードバスCISポインタ: 00000a01",
      "サブシステム・ベンダID: 1af4",
      "サブシステムID: 1234",
      "[システム]",
      "  このアクセス方式では取得できません",
      "[ヘッダ詳細]",
      "  Control: I/O- Mem- BusMaster- SpecCycle- MemWINV- VGASnoop- ParErr- Stepping- SERR- "
      "FastB2B- DisINTx-",
      "  Status: Cap- 66MHz- UDF- FastB2B- ParErr- DEVSEL=fast >TAbort- <TAbort- <MAbort- >SERR- "
      "<PERR- INTx-",
      "  Region 0: Memory at e0000000 (32-bit, prefetchable) [disabled] [size=1M]",
      "  Region 1: I/O ports at e000 [disabled] [size=32]",
      "  Expansion ROM at fffc0000 [disabled by cmd] [size=128K]",
      "[ケイパビリティ]",
      "  なし",
  };
  EXPECT_EQ(Lines(r.out), expected);
}

TEST(DetailsCommand, AFourthBlockShowsWhatTheSystemKnows) {
  SimulatedBus bus = kelvox::testing::SampleCardBus();
  FunctionFacts facts;
  facts.driver = "ne2k-pci";
  facts.irq = 11;
  facts.msi_vectors = 0;
  facts.numa_node = -1;
  facts.parent = "00:1e.0";
  bus.SetFacts({0, 3, 0}, facts);
  const auto r = RunCommand(RunDetails, {"3"}, bus);
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  // The block before the header's (six lines) and the capabilities' (title and "なし").
  const std::vector<std::string> system(lines.end() - 21, lines.end() - 8);
  EXPECT_EQ(system, (std::vector<std::string>{
                        "[システム]", "ドライバ: ne2k-pci", "モジュール別名: 不明",
                        "カーネルのIRQ: 11", "MSI/MSI-X: 不使用", "有効: 不明", "電源状態: 不明",
                        "NUMAノード: なし", "IOMMUグループ: 不明", "リンク速度: なし",
                        "リンク幅: なし", "リンク状態: なし", "親ブリッジ: 00:1e.0"}));

  // JSON: the facts themselves, null for what is not known, and the texts.
  const Json d = ParsedRoundTrip(RunCommand(RunDetails, {"3", "--json"}, bus).out);
  const Json& s = d["system"];
  EXPECT_EQ(s["known"], true);
  EXPECT_EQ(s["driver"], "ne2k-pci");
  EXPECT_EQ(s["irq"], 11);
  EXPECT_EQ(s["msi_vectors"], 0);
  EXPECT_EQ(s["numa_node"], -1);
  EXPECT_TRUE(s["modalias"].is_null());
  EXPECT_TRUE(s["enabled"].is_null());
  EXPECT_TRUE(s["iommu_group"].is_null());
  EXPECT_TRUE(s["link_below_maximum"].is_null());
  EXPECT_EQ(s["parent"], "00:1e.0");
  ASSERT_EQ(s["fields"].size(), 12u);
  EXPECT_EQ(s["fields"][0]["label"], "ドライバ");
  EXPECT_EQ(s["fields"][0]["text"], "ne2k-pci");

  // Without facts every value is null, never 0.
  const Json none = ParsedRoundTrip(
      RunCommand(RunDetails, {"3", "--json"}, kelvox::testing::SampleCardBus()).out)["system"];
  EXPECT_EQ(none["known"], false);
  EXPECT_TRUE(none["irq"].is_null());
  EXPECT_TRUE(none["driver"].is_null());
  EXPECT_TRUE(none["fields"].empty());
}

TEST(DetailsCommand, TakesBusAndFunctionAndShowsAnAbsentDeviceAsAllOnes) {
  const auto r = RunCommand(RunDetails, {"--bus", "7", "31", "--function=2"},
                            kelvox::testing::SampleCardBus());
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 37u);
  EXPECT_EQ(lines[0], "バス番号=7, 機能番号=2, デバイス番号=31 の詳細情報");
  EXPECT_EQ(lines[36], "  ここに応答する機能はありません");  // nothing to read capabilities from
  EXPECT_EQ(lines[2], "ベンダID: ffff");
  EXPECT_EQ(lines[8], "クラスコード: ffffff");
  EXPECT_EQ(lines[9], "  Unknown");
  EXPECT_EQ(lines[14], "  ffffffff (no device)");
  EXPECT_EQ(lines[21], "  ffffffff (no device)");
  EXPECT_EQ(lines[27], "ＢＩＳＴ: ffH");
}

TEST(DetailsCommand, BadArgumentsPrintOneLineAndNothingElse) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{},
       "details: no function given: an address such as 00:03.0, a device number, -s/-d or --all"},
      {{"--all", "3"},
       "details: --all takes no address, device number, -s, -d, --bus or --function"},
      {{"32"}, "details: device 32 is outside 0 to 31"},
      {{"x1"}, "details: 'x1' is neither an address (00:03.0) nor a device number"},
      {{"00:20.0"}, "details: address: invalid device number '20' (hexadecimal 0 to 1f)"},
      {{"00:03.0", "-s", "00:04.0"}, "details: an address and -s: give the place once"},
      {{"3", "-d", "1af4:"}, "details: a device number and -s or -d: give one of them"},
      {{"00:03.0", "--bus", "1"},
       "details: --bus and --function go with a device number, not with an address"},
      {{"-s", "3", "--function", "1"},
       "details: --bus and --function go with a device number, not with -s or -d"},
      {{"3", "4"}, "details: unexpected argument '4'"},
      {{"3", "--bus", "256"}, "details: --bus: 256 is outside 0 to 255"},
      {{"3", "--json=1"}, "details: --json takes no value"},
  };
  for (const auto& [args, message] : cases) {
    int opens = 0;
    const auto r = RunCommand(RunDetails, args, [&opens](const std::optional<std::string>&) {
      ++opens;
      return OpenedAccess{std::make_unique<SimulatedBus>(), {}};
    });
    EXPECT_EQ(r.status, 2) << message;
    EXPECT_EQ(r.out, "") << message;
    EXPECT_EQ(r.err, "kelvox-cli: " + message + "\n");
    EXPECT_EQ(opens, 0) << message;
  }
  const auto missing =
      RunCommand(RunDetails, {"3", "--source", "gone.txt"}, [](const std::optional<std::string>&) {
        return OpenedAccess{nullptr, "gone.txt: cannot open: No such file"};
      });
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "kelvox-cli: details: --source: gone.txt: cannot open: No such file\n");
}

// The text of a numeric field, made again from its JSON value in the field's own format.
std::string FormatAgain(const Json& field) {
  const auto value = field["value"].get<uint32_t>();
  switch (field["id"].get<int>()) {
    case 1028:
    case 1029:
    case 1022:
    case 1023:
      return Printf("%04x", value);
    case 1030:
      return Printf("%06x", value);
    case 1016:
      return Printf("%02xH", value);
    case 1021:
      return Printf("%08x", value);
    default:
      return Printf("%u", value);
  }
}

TEST(DetailsCommand, JsonHoldsTheSameTextsWithTheirRegisterValues) {
  const SimulatedBus bus = kelvox::testing::SampleCardBus();
  const auto text = RunCommand(RunDetails, {"3"}, bus);
  const auto json = RunCommand(RunDetails, {"3", "--json"}, bus);
  ASSERT_EQ(json.status, 0) << json.err;
  const Json d = ParsedRoundTrip(json.out);
  EXPECT_EQ(d["command"], "details");
  EXPECT_EQ(d["version"], 1);
  EXPECT_EQ(d["backend"], "simulated");
  EXPECT_EQ(d["bus"], 0);
  EXPECT_EQ(d["device"], 3);
  EXPECT_EQ(d["function"], 0);

  // Every text, in order, is the text of the plain output's line.
  const auto lines = Lines(text.out);
  std::vector<std::string> texts = {d["caption"]};
  for (const Json& page : d["pages"]) {
    for (const Json& field : page["fields"]) {
      texts.push_back(field["text"]);
      if (field.contains("value") && !field.contains("sizing_readback")) {
        EXPECT_EQ(FormatAgain(field), field["text"]) << field.dump();
      }
    }
  }
  std::vector<std::string> from_lines = {lines[0]};
  for (const std::string& line : lines) {
    if (line == "[システム]") break;  // the facts have an object of their own
    const size_t colon = line.find(": ");
    if (line == "  -")
      from_lines.push_back("");  // an empty text is printed "-"
    else if (line.starts_with("  "))
      from_lines.push_back(line.substr(2));
    else if (colon != std::string::npos && !line.starts_with("バス番号")) {
      from_lines.push_back(line.substr(colon + 2));
    }
  }
  EXPECT_EQ(texts, from_lines);

  ASSERT_EQ(d["pages"].size(), 3u);
  EXPECT_EQ(d["pages"][0]["title"], "ベンダ情報");
  EXPECT_EQ(
      d["pages"][0]["fields"][0],
      Json::parse(R"({"id":1028,"label":"ベンダID","text":"10ec","register":0,"value":4332})"));
  EXPECT_EQ(d["pages"][0]["fields"][1], Json::parse(R"({"id":1031,"label":"","text":"Realtek"})"));
  const Json& bars = d["pages"][1]["fields"];
  EXPECT_EQ(bars[0]["group"], "ベースアドレスレジスタ");
  EXPECT_EQ(bars[0]["register"], 0x10);
  EXPECT_EQ(bars[0]["value"], 0xE0000008u);
  EXPECT_EQ(bars[0]["sizing_readback"], 0xFFF00008u);
  EXPECT_EQ(bars[6]["group"], "拡張ＲＯＭベースアドレス");
  EXPECT_EQ(bars[6]["register"], 0x30);
  EXPECT_EQ(bars[6]["sizing_readback"], 0xFFFE0001u);
  const Json& misc = d["pages"][2]["fields"];
  EXPECT_EQ(misc[0]["label"], "割込みライン(IRQ)");
  EXPECT_EQ(misc[0]["register"], 0x3C);
  EXPECT_EQ(misc[0]["value"], 11);
}

TEST(DetailsCommand, JsonOfAnAbsentDeviceHasNoSizingReadBack) {
  const auto r = RunCommand(RunDetails, {"9", "--json"}, kelvox::testing::SampleCardBus());
  ASSERT_EQ(r.status, 0) << r.err;
  const Json d = ParsedRoundTrip(r.out);
  for (const Json& bar : d["pages"][1]["fields"]) {
    EXPECT_EQ(bar["value"], 0xFFFFFFFFu);
    EXPECT_TRUE(bar["sizing_readback"].is_null());
    EXPECT_EQ(bar["text"], "ffffffff (no device)");
  }
  EXPECT_TRUE(d["header"].is_null());
}

// The decoded header in JSON: the values its text lines are made of, regions as an array.
TEST(DetailsCommand, JsonHeaderHoldsTheRegionsAndBits) {
  const auto r = RunCommand(RunDetails, {"3", "--json"}, kelvox::testing::SampleCardBus());
  ASSERT_EQ(r.status, 0) << r.err;
  const Json header = ParsedRoundTrip(r.out)["header"];
  EXPECT_EQ(header["command"]["memory"], false);
  EXPECT_EQ(header["status"]["devsel"], "fast");
  ASSERT_EQ(header["regions"].size(), 3u);
  EXPECT_EQ(header["regions"][0], Json::parse(R"({"index": 0, "kind": "memory",
      "address": 3758096384, "bits": 32, "prefetchable": true, "disabled": true,
      "size": 1048576})"));
  EXPECT_EQ(header["regions"][1]["kind"], "io");
  EXPECT_EQ(header["regions"][1]["size"], 32);
  EXPECT_EQ(header["regions"][2]["kind"], "rom");
  EXPECT_EQ(header["regions"][2]["size"], 128 * 1024);
}

}  // namespace
}  // namespace kelvox::cli

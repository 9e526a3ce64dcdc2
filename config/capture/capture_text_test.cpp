#include "config/capture/capture_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdio>
#include <string>
#include <vector>

namespace kelvox {
namespace {

using namespace std::string_literals;

// `lspci -vvxxx` of one function of a virtual machine, with a `lspci -D -x` function after it.
constexpr const char* kLspciCapture =
    "00:01.0 Unassigned class [ffff]: Red Hat, Inc. Virtio 1.0 memory balloon (rev 01)\n"
    "\tSubsystem: Red Hat, Inc. Virtio 1.0 memory balloon\n"
    "\tControl: I/O- Mem+ BusMaster+ SpecCycle- MemWINV- VGASnoop- ParErr- Stepping-\n"
    "\tLatency: 0\n"
    "\tRegion 0: Memory at 4000000000 (64-bit, non-prefetchable) [size=512K]\n"
    "\tCapabilities: [40] Vendor Specific Information: VirtIO: CommonCfg\n"
    "\t\tBAR=0 offset=00000000 size=00000038\n"
    "\tKernel driver in use: virtio-pci\n"
    "00: f4 1a 45 10 06 04 10 00 01 00 ff ff 00 00 00 00\n"
    "10: 04 00 00 00 40 00 00 00 00 00 00 00 00 00 00 00\n"
    "20: 00 00 00 00 00 00 00 00 00 00 00 00 f4 1a 45 10\n"
    "30: 00 00 00 00 40 00 00 00 00 00 00 00 00 00 00 00\n"
    "40: 09 50 10 01 00 00 00 00 00 00 00 00 38 00 00 00\n"
    "50: 09 60 10 03 00 00 00 00 00 20 00 00 01 00 00 00\n"
    "60: 09 70 10 04 00 00 00 00 00 40 00 00 00 10 00 00\n"
    "70: 09 84 14 02 00 00 00 00 00 60 00 00 00 10 00 00\n"
    "80: 04 00 00 00 09 98 14 05 00 00 00 00 00 00 00 00\n"
    "90: 00 00 00 00 00 00 00 00 11 00 04 80 00 80 00 00\n"
    "a0: 00 80 04 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "b0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "c0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "d0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "e0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "f0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "\n"
    "0000:00:00.0 Host bridge: Intel Corporation Device 0d57\n"
    "00: 86 80 57 0d 00 00 00 00 00 00 00 06 00 00 00 00\n"
    "10: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "20: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "30: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "\n";

TEST(ParseSimulatedBus, LoadsLspciOutputUnchanged) {
  SimulatedBus bus = ParseSimulatedBus(kLspciCapture);
  ASSERT_EQ(bus.Locations(), (std::vector<FunctionLocation>{{0, 0, 0}, {0, 1, 0}}));
  EXPECT_EQ(bus.Read(0, 1, 0, 0x00), 0x10451AF4u);
  EXPECT_EQ(bus.Read(0, 1, 0, 0x08), 0xFFFF0001u);
  EXPECT_EQ(bus.Read(0, 1, 0, 0x14), 0x00000040u);
  EXPECT_EQ(bus.Read(0, 1, 0, 0xA0), 0x00048000u);
  EXPECT_EQ(bus.Read(0, 0, 0, 0x00), 0x0D578086u);
  EXPECT_EQ(bus.Read(0, 0, 0, 0x40), 0u);  // not in the dump: zero
  EXPECT_EQ(bus.Read(0, 2, 0, 0x00), kAllOnes);
  // No mask lines: every register is read-only.
  bus.Write(0, 1, 0, 0x10, 0xFFFFFFFF);
  EXPECT_EQ(bus.Read(0, 1, 0, 0x10), 0x00000004u);
}

TEST(ParseSimulatedBus, AcceptsUpperCaseThreeDigitOffsetsShortLinesAndCrLf) {
  SimulatedBus bus = ParseSimulatedBus(
      "3a:1f.7 Something\r\n"
      "00: DE C0 AD 0B\r\n"
      "0fc: 11 22 33 44\r\n"
      "100: 55 66 77 88\n"  // past 256: accepted, not kept
      "ff0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n");
  EXPECT_EQ(bus.Read(0x3A, 31, 7, 0x00), 0x0BADC0DEu);
  EXPECT_EQ(bus.Read(0x3A, 31, 7, 0xFC), 0x44332211u);
  EXPECT_EQ(bus.Read(0x3A, 31, 7, 0x04), 0u);
}

TEST(ParseSimulatedBus, MaskLinesMakeBitsWritable) {
  SimulatedBus bus = ParseSimulatedBus(
      "00:03.0 Memory device\n"
      "00: 86 80 34 12 00 00 00 00 00 00 00 05 00 00 00 00\n"
      "10: 08 00 00 e0 01 e0 00 00\n"
      "# writable 10 fff00000\n"
      "# writable 14 FFFFFFE0\n"
      "# writable 4 7\n"
      "# a comment of the capture\n");
  bus.Write(0, 3, 0, 0x10, 0xFFFFFFFF);
  EXPECT_EQ(bus.Read(0, 3, 0, 0x10), 0xFFF00008u);
  bus.Write(0, 3, 0, 0x14, 0xFFFFFFFF);
  EXPECT_EQ(bus.Read(0, 3, 0, 0x14), 0xFFFFFFE1u);
  bus.Write(0, 3, 0, 0x04, 0xFFFFFFFF);
  EXPECT_EQ(bus.Read(0, 3, 0, 0x04), 0x00000007u);
  bus.Write(0, 3, 0, 0x00, 0);
  EXPECT_EQ(bus.Read(0, 3, 0, 0x00), 0x12348086u);
}

std::string Repeated(const std::string& text, int count) {
  std::string repeated;
  for (int i = 0; i < count; ++i) repeated += text;
  return repeated;
}

TEST(ParseSimulatedBus, RejectsBadInputNamingTheLine) {
  const std::string header = "00:01.0 x\n";
  const struct {
    std::string text;
    int line;
    std::string message;
  } cases[] = {
      {header + "00: 12 3g\n", 2, "line 2: malformed byte '3g'"},
      {header + "00: 12 345\n", 2, "line 2: malformed byte '345'"},
      {header + "ff8: 00 00 00 00 00 00 00 00 00\n", 2,
       "line 2: bytes past the end of the 4096-byte configuration space"},
      {header + "00: 00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10\n", 2,
       "line 2: 17 bytes on one line, at most 16"},
      {header + "00: 00\n\n00:01.0 again\n00: 00\n", 4,
       "line 4: device 00:01.0 already given on line 1"},
      {"00:20.0 x\n00: 00\n", 1, "line 1: device number '20' is over 31"},
      {"00:1f.8 x\n00: 00\n", 1, "line 1: function number '8' is over 7"},
      {"0000:00:00.0 x\n00: 00\n\nwxyz:00:01.0 y\n00: 00\n", 4,
       "line 4: domain 'wxyz' is not a hex number"},
      {"000:00:00.0 x\n00: 00\n", 1, "line 1: domain '000' must have 4 to 8 hex digits"},
      {"123456789:00:00.0 x\n00: 00\n", 1,
       "line 1: domain '123456789' must have 4 to 8 hex digits"},
      {"80000000:00:00.0 x\n00: 00\n", 1,
       "line 1: domain '80000000' is out of range (at most 7fffffff)"},
      {"c0e3:00:00.0 x\n00: 00\n\nC0E3:00:00.0 y\n00: 00\n", 4,
       "line 4: device c0e3:00:00.0 already given on line 1"},
      {"lspci output\n00: 86 80\n", 2, "line 2: configuration bytes before any device header"},
      {"# writable 10 ffffffff\n", 1, "line 1: writable mask before any device header"},
      {header + "00: 00\n# writable 10 fffff00g\n", 3,
       "line 3: bad hex mask 'fffff00g' in writable mask line"},
      {header + "00: 00\n# writable 10 1ffffffff\n", 3,
       "line 3: bad hex mask '1ffffffff' in writable mask line"},
      {header + "00: 00\n# writable 12 ffffffff\n", 3,
       "line 3: bad register offset '12' in writable mask line"},
      {header + "00: 00\n# writable 100 ffffffff\n", 3,
       "line 3: bad register offset '100' in writable mask line"},
      {header + "00: 00\n# writable 10\n", 3,
       "line 3: a writable mask line is '# writable RR XXXXXXXX'"},
      {header + "\n00:02.0 y\n00: 00\n", 1, "line 1: device 00:01.0 has no configuration bytes"},
      // An offset without bytes gives none.
      {header + "00:\n", 1, "line 1: device 00:01.0 has no configuration bytes"},
      {header + "00: \t \n\n00:02.0 y\n00: 00\n", 1,
       "line 1: device 00:01.0 has no configuration bytes"},
      // An empty line ends a device: what follows it belongs to no device.
      {header + "00: 86 80\n\n10: 00 00 00 f0\n", 4,
       "line 4: configuration bytes outside a device: the blank line 3 ended device 00:01.0 "
       "(line 1)"},
      {header + "00: 86 80\r\n\r\n# writable 10 fffff000\n", 4,
       "line 4: writable mask outside a device: the blank line 3 ended device 00:01.0 (line 1)"},
      // The bad text is quoted escaped, so a NUL does not end the message and no control byte
      // reaches the terminal, and at most 40 bytes of it, cut between characters.
      {header + "00: 12 3\0\n"s, 2, "line 2: malformed byte '3\\x00'"},
      {header + "00: 12 \x1b[2J\n", 2, "line 2: malformed byte '\\x1B[2J'"},
      {header + "00: 12 \xc2\x9b\xff\n", 2, "line 2: malformed byte '\\xC2\\x9B\\xFF'"},
      {header + "00: 12 " + std::string(41, 'g') + "\n", 2,
       "line 2: malformed byte '" + std::string(40, 'g') + "…'"},
      {header + "00: 12 " + std::string(39, 'g') + "ベ\n", 2,
       "line 2: malformed byte '" + std::string(39, 'g') + "…'"},
      {header + "00: 00\n# fact driver e1000e\x01" + std::string(100, '\0') + "\n", 3,
       "line 3: bad value 'e1000e\\x01" + Repeated("\\x00", 33) + "…' for fact driver"},
      {header + "00: 00\n# writable 10 " + std::string(5000, 'f') + "\n", 3,
       "line 3: bad hex mask '" + std::string(40, 'f') + "…' in writable mask line"},
      {std::string(1000, 'a') + ":00:00.0 x\n00: 00\n", 1,
       "line 1: domain '" + std::string(40, 'a') + "…' must have 4 to 8 hex digits"},
      {std::string(1000, 'z') + ":00:00.0 x\n00: 00\n", 1,
       "line 1: domain '" + std::string(40, 'z') + "…' is not a hex number"},
  };
  for (const auto& c : cases) {
    try {
      (void)ParseSimulatedBus(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const SimulatedBusFileError& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.text;
      EXPECT_EQ(e.line(), c.line) << c.text;
    }
  }
}

TEST(ParseSimulatedBus, AnEmptyLineEndsADeviceButABlankOneDoesNot) {
  // Only an empty line ends a device, as lspci reads its dumps: a line of blanks is ignored like
  // any other text, and a new header opens the next device.
  const SimulatedBus bus =
      ParseSimulatedBus("00:01.0 x\n00: 86 80\n  \n10: 01 c0 00 00\n\n\n00:02.0 y\n00: f4 1a\n");
  EXPECT_EQ(bus.Locations(), (std::vector<FunctionLocation>{{0, 1, 0}, {0, 2, 0}}));
  EXPECT_EQ(bus.Find({0, 1, 0})->Dword(0x10), 0x0000C001u);
  EXPECT_EQ(bus.Find({0, 2, 0})->Dword(0x00), 0x00001AF4u);
}

TEST(ParseSimulatedBus, ReadsAFullBusInTimeProportionalToItsSize) {
  // 65,536 functions, each a header and one byte line: every address is told apart from the
  // others without comparing it with each earlier one.
  std::string text;
  char line[64];
  for (int bus = 0; bus < 256; ++bus) {
    for (int device = 0; device < 32; ++device) {
      for (int function = 0; function < 8; ++function) {
        std::snprintf(line, sizeof line, "%02x:%02x.%x x\n00: %02x\n\n", bus, device, function,
                      function);
        text += line;
      }
    }
  }
  const SimulatedBus bus = ParseSimulatedBus(text);
  ASSERT_EQ(bus.Locations().size(), kMaxBusFunctions);
  EXPECT_EQ(bus.Find({255, 31, 7})->bytes[0], 7);
  // A repeated address is still found, naming the line of the first.
  text += "7f:10.3 again\n00: 00\n";
  try {
    (void)ParseSimulatedBus(text);
    ADD_FAILURE() << "a repeated address was accepted";
  } catch (const SimulatedBusFileError& e) {
    const int last_line = 3 * static_cast<int>(kMaxBusFunctions) + 1;
    EXPECT_EQ(e.line(), last_line);
    const int first_line = 3 * ((0x7F * 32 + 0x10) * 8 + 3) + 1;
    EXPECT_EQ(std::string(e.what()), "line " + std::to_string(last_line) +
                                         ": device 7f:10.3 already given on line " +
                                         std::to_string(first_line));
  }
}

TEST(FormatSimulatedBus, NeverWritesMoreThanTheReaderAccepts) {
  // The longest function the writer can write: every byte set past the header, a revision, and
  // a mask on every register.
  SimulatedBus bus;
  // The longest address: an eight-digit domain.
  const FunctionLocation at{0xFF, 0x1F, 7, kMaxDomain};
  SimulatedFunction& f = bus.AddFunction(at);
  f.Resize(SimulatedFunction::kMaxBytes);  // the whole space, as lspci -xxxx dumps it
  f.bytes.fill(0xA5);
  std::fill(f.extended.begin(), f.extended.end(), 0xA5);
  f.writable.fill(0xFFFFFFFFu);
  const size_t without_facts = FormatSimulatedBus(bus).size();
  FunctionFacts facts;
  const std::string longest(kMaxFactValueBytes, 'x');
  for (const char* name : {"driver", "modalias", "power_state", "iommu_group", "current_link_speed",
                           "max_link_speed", "parent"}) {
    ASSERT_TRUE(SetNamedFact(facts, name, longest)) << name;
  }
  // The longest numbers the reader takes.
  for (const char* name : {"irq", "msi_irqs", "numa_node"}) {
    ASSERT_TRUE(SetNamedFact(facts, name, "2147483647")) << name;
  }
  for (const char* name : {"current_link_width", "max_link_width"}) {
    ASSERT_TRUE(SetNamedFact(facts, name, "63")) << name;
  }
  ASSERT_TRUE(SetNamedFact(facts, "enable", "1"));
  bus.SetFacts(at, facts);
  const std::string text = FormatSimulatedBus(bus);
  EXPECT_LE(text.size(), kMaxFormattedFunctionBytes);
  // Every part but the facts at its longest: exactly the bound without them.
  EXPECT_EQ(kMaxFormattedFunctionBytes - without_facts,
            kFactCount * (sizeof "# fact " + kLongestFactName + 1 + kMaxFactValueBytes));
  EXPECT_EQ(ParseSimulatedBus(text).Facts(at), facts);
  EXPECT_EQ(kMaxCaptureBytes, kMaxBusFunctions * kMaxFormattedFunctionBytes);
}

TEST(ParseSimulatedBus, FactLinesGiveTheDeviceItsFacts) {
  const SimulatedBus bus = ParseSimulatedBus(
      "00:01.0 x\n00: f4 1a\n# fact driver virtio-pci\n# fact irq 11\n"
      "# fact current_link_speed   8.0 GT/s PCIe  \n# fact iommu_group\n"
      "# fact from_a_later_version whatever\n\n00:02.0 y\n00: 86 80\n");
  FunctionFacts expected;
  expected.driver = "virtio-pci";
  expected.irq = 11;
  expected.current_link_speed = "8.0 GT/s PCIe";
  expected.iommu_group = "";
  SimulatedBus copy = bus;
  EXPECT_EQ(copy.Facts({0, 1, 0}), expected);
  EXPECT_EQ(copy.Facts({0, 2, 0}), std::nullopt);  // a device without fact lines knows none
  EXPECT_EQ(FormatSimulatedBus(bus),
            "00:01.0 0000: 1af4:0000\n"
            "00: f4 1a 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "10: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "20: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "30: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "# fact driver virtio-pci\n"
            "# fact irq 11\n"
            "# fact iommu_group\n"
            "# fact current_link_speed 8.0 GT/s PCIe\n"
            "\n"
            "00:02.0 0000: 8086:0000\n"
            "00: 86 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "10: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "20: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "30: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "\n");
  // The edges of what the kernel writes are kept.
  FunctionFacts edges;
  edges.irq = 0;
  edges.msi_vectors = 2147483647;
  edges.numa_node = -1;
  edges.current_link_width = 0;
  edges.max_link_width = 63;
  EXPECT_EQ(ParseSimulatedBus("00:01.0 x\n00: 00\n# fact irq 0\n# fact msi_irqs 2147483647\n"
                              "# fact numa_node -1\n# fact current_link_width 0\n"
                              "# fact max_link_width 63\n")
                .Facts({0, 1, 0}),
            edges);
  for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
           {"00:01.0 x\n00: 00\n# fact irq eleven\n", "line 3: bad value 'eleven' for fact irq"},
           {"00:01.0 x\n00: 00\n# fact enable -1\n", "line 3: bad value '-1' for fact enable"},
           // Numbers the kernel never writes for the fact: negative counts and interrupts, a
           // NUMA node below -1 (none), a link width past its 6-bit field.
           {"00:01.0 x\n00: 00\n# fact msi_irqs -5\n", "line 3: bad value '-5' for fact msi_irqs"},
           {"00:01.0 x\n00: 00\n# fact irq -1\n", "line 3: bad value '-1' for fact irq"},
           {"00:01.0 x\n00: 00\n# fact irq abc\n", "line 3: bad value 'abc' for fact irq"},
           {"00:01.0 x\n00: 00\n# fact irq +5\n", "line 3: bad value '+5' for fact irq"},
           {"00:01.0 x\n00: 00\n# fact numa_node -2\n",
            "line 3: bad value '-2' for fact numa_node"},
           {"00:01.0 x\n00: 00\n# fact current_link_width -1\n",
            "line 3: bad value '-1' for fact current_link_width"},
           {"00:01.0 x\n00: 00\n# fact max_link_width 64\n",
            "line 3: bad value '64' for fact max_link_width"},
           {"00:01.0 x\n00: 00\n# fact\n", "line 3: a fact line is '# fact NAME VALUE'"},
           {"# fact irq 3\n", "line 1: fact before any device header"},
           {"00:01.0 x\n00: 00\n\n# fact irq 3\n",
            "line 4: fact outside a device: the blank line 3 ended device 00:01.0 (line 1)"}}) {
    try {
      (void)ParseSimulatedBus(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const SimulatedBusFileError& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
  }
}

TEST(ParseSimulatedBus, IgnoresLinesThatAreNeitherHeaderNorBytes) {
  SimulatedBus bus = ParseSimulatedBus(
      "Some title\n"
      "00:0x.0 looks almost like a header\n"
      "0:00.0 one digit short\n"
      "00:01.0\n"  // a header may end right after the address
      "00: aa bb cc dd\n"
      "00:junk\n");
  EXPECT_EQ(bus.Locations(), (std::vector<FunctionLocation>{{0, 1, 0}}));
  EXPECT_EQ(bus.Read(0, 1, 0, 0), 0xDDCCBBAAu);
  EXPECT_TRUE(ParseSimulatedBus("").Locations().empty());
}

TEST(FormatSimulatedBus, WritesLspciStyleLinesAndMasks) {
  SimulatedBus bus;
  bus.AddFunction({0, 3, 1}).Resize(64);  // a function as lspci -x dumps it
  bus.SetRegister({0, 3, 1}, 0x00, 0x1234ABCD);
  bus.SetRegister({0, 3, 1}, 0x08, 0x02000010);
  bus.SetRegister({0, 3, 1}, 0x10, 0xE0000008);
  bus.SetWritableMask({0, 3, 1}, 0x10, 0xFFF00000);
  EXPECT_EQ(FormatSimulatedBus(bus),
            "00:03.1 0200: abcd:1234 (rev 10)\n"
            "00: cd ab 34 12 00 00 00 00 10 00 00 02 00 00 00 00\n"
            "10: 08 00 00 e0 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "20: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "30: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "# writable 10 fff00000\n"
            "\n");
}

TEST(FormatSimulatedBus, RoundTripsThroughTheParser) {
  SimulatedBus bus = ParseSimulatedBus(kLspciCapture);
  bus.AddFunction({0xFF, 31, 7});
  for (int reg = 0; reg < 64; reg += 4) bus.SetRegister({0xFF, 31, 7}, reg, 0x01010101u * reg);
  bus.SetWritableMask({0xFF, 31, 7}, 0x04, 0x000007FF);
  bus.SetWritableMask({0xFF, 31, 7}, 0x30, 0xFFFFF801);
  bus.SetWritableMask({0, 1, 0}, 0x10, 0xFFF80000);
  bus.SetWritableMask({0, 1, 0}, 0xFC, 0x00000001);

  const std::string text = FormatSimulatedBus(bus);
  const SimulatedBus again = ParseSimulatedBus(text);
  ASSERT_EQ(again.Locations(), bus.Locations());
  for (const FunctionLocation& at : bus.Locations()) {
    EXPECT_EQ(again.Find(at)->bytes, bus.Find(at)->bytes) << at.bus << ":" << at.device;
    EXPECT_EQ(again.Find(at)->writable, bus.Find(at)->writable) << at.bus << ":" << at.device;
  }
  EXPECT_EQ(FormatSimulatedBus(again), text);
  // Each function as large as it was read: 00:01.0's dump and ff:1f.7, added with 256 bytes,
  // in full, the others' header only.
  const auto count = [&text](const std::string& s) {
    int n = 0;
    for (size_t at = text.find(s); at != std::string::npos; at = text.find(s, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("\n30: "), 3);
  EXPECT_EQ(count("\nf0: "), 2);
  EXPECT_EQ(text.find("00:00.0 0600: 8086:0d57\n00: 86 80"), 0u);  // revision 0 is left out
  EXPECT_NE(text.find("ff:1f.7 0808: 0000:0000 (rev 08)\n00: 00 00 00 00 04 04 04 04"),
            std::string::npos);
}

}  // namespace
}  // namespace kelvox

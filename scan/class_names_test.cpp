#include "scan/class_names.h"

#include <gtest/gtest.h>

#include <string>

#include "scan/class_comment.h"
#include "text/cp932.h"

namespace kelvox {
namespace {

// Base classes that name their sub-classes, with the size of each table ("(?)" included).
struct SubTable {
  uint8_t base;
  size_t size;
};
constexpr SubTable kSubTables[] = {{0x01, 9}, {0x02, 5}, {0x04, 3}, {0x05, 3}, {0x06, 9},
                                   {0x07, 3}, {0x08, 5}, {0x09, 4}, {0x0B, 4}, {0x0C, 6}};

TEST(ClassNames, EveryTextRoundTripsThroughCp932) {
  int texts = 0;
  for (std::string_view name : BaseClassNames()) {
    EXPECT_TRUE(RoundTripsThroughCp932(name)) << name;
    ++texts;
  }
  for (int base = 0; base < 256; ++base) {
    for (std::string_view name : SubClassNames(static_cast<uint8_t>(base))) {
      EXPECT_TRUE(RoundTripsThroughCp932(name)) << name;
      ++texts;
    }
  }
  EXPECT_EQ(texts, 14 + 9 + 5 + 3 + 3 + 9 + 3 + 5 + 4 + 4 + 6);
}

TEST(ClassNames, CharacterWidthsAreTheOnesTheTablesDefine) {
  // Half-width katakana and the half-width middle dot are one CP932 byte each; the full-width
  // middle dot and question marks are two. A look-alike character would change these bytes.
  EXPECT_EQ(Utf8ToCp932(BaseClassName(0x0A)),
            "  \xC4\xDE\xAF\xB7\xDD\xB8\xDE\xA5\xBD\xC3\xB0\xBC\xAE\xDD");
  EXPECT_EQ(Utf8ToCp932(BaseClassName(0x0D)), "  \x81\x48\x81\x48\x81\x48\x81\x48");
  EXPECT_EQ(Utf8ToCp932(SubClassName(0x02, 1)),
            "(\x83\x67\x81\x5B\x83\x4E\x83\x93\xA5\x83\x8A\x83\x93\x83\x4F)");
  EXPECT_EQ(Utf8ToCp932(SubClassName(0x01, 2)),
            "(\x83\x74\x83\x8D\x83\x62\x83\x73\x81\x45\x83\x66\x83\x42\x83\x58\x83\x4E)");
  EXPECT_EQ(SubClassName(0x01, 7), "(Serial Attatched SCSI)");
}

TEST(ClassNames, BaseNamesStartWithTwoBlanksAndHighClassesShareTheLastOne) {
  ASSERT_EQ(BaseClassNames().size(), 14u);
  for (std::string_view name : BaseClassNames()) {
    EXPECT_EQ(name.substr(0, 2), "  ");
    EXPECT_NE(name[2], ' ');
  }
  EXPECT_EQ(BaseClassName(0x00), "  古いデバイス");
  EXPECT_EQ(BaseClassName(0x0C), "  シリアル周辺バス");
  for (int base : {0x0D, 0x11, 0x40, 0xFE, 0xFF}) {
    EXPECT_EQ(BaseClassName(static_cast<uint8_t>(base)), "  ？？？？") << base;
  }
}

TEST(ClassNames, EachSubClassTableFallsBackToItsLastEntry) {
  for (const SubTable& t : kSubTables) {
    const auto table = SubClassNames(t.base);
    ASSERT_EQ(table.size(), t.size) << int{t.base};
    const auto last_named = static_cast<uint8_t>(t.size - 2);
    EXPECT_NE(SubClassName(t.base, last_named), "(?)") << int{t.base};
    EXPECT_EQ(SubClassName(t.base, last_named + 1), "(?)") << int{t.base};
    EXPECT_EQ(SubClassName(t.base, 0x80), "(?)") << int{t.base};
    EXPECT_EQ(SubClassName(t.base, 0xFF), "(?)") << int{t.base};
    for (size_t i = 0; i < table.size(); ++i) {
      EXPECT_EQ(table[i].front(), '(');
      EXPECT_EQ(table[i].back(), ')');
    }
  }
  EXPECT_EQ(SubClassName(0x06, 4), "(PCI-PCI)");
  EXPECT_EQ(SubClassName(0x0C, 3), "(USB)");
  EXPECT_EQ(SubClassName(0x0C, 4), "(Fiber Channel)");
}

TEST(ClassNames, SomeBaseClassesNameNoSubClass) {
  for (int base : {0x00, 0x03, 0x0A, 0x0D, 0x0E, 0x12, 0xFF}) {
    for (int sub : {0x00, 0x01, 0x80, 0xFF}) {
      EXPECT_EQ(SubClassName(static_cast<uint8_t>(base), static_cast<uint8_t>(sub)), "")
          << base << " " << sub;
    }
    EXPECT_TRUE(SubClassNames(static_cast<uint8_t>(base)).empty());
  }
}

TEST(ClassComment, JoinsBaseAndSubClassNamesFromTheClassRegister) {
  // Register 0x08 carries the class code in bits 31:8 and the revision in 7:0.
  EXPECT_EQ(ClassComment(0x01060102), "  大容量記憶装置(Serial ATA)");
  EXPECT_EQ(ClassComment(0x030000a1), "  ディスプレイ");
  EXPECT_EQ(ClassComment(0xFFFFFFFF), "  ？？？？");
  EXPECT_EQ(ClassComment(0x0C0330ff), "  シリアル周辺バス(USB)");
  // The programming interface and revision do not pick the name.
  EXPECT_EQ(ClassComment(0x060400ff), ClassComment(0x06040100));
}

}  // namespace
}  // namespace kelvox

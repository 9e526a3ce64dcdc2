#include "scan/class_names.h"

#include <array>

namespace kelvox {

// Fixed tables of constant texts: they exist for the whole run and are never rebuilt.

constexpr std::array<std::string_view, kBaseClassNames> kBaseNames = {
    "  古いデバイス",     "  大容量記憶装置", "  ネットワーク",   "  ディスプレイ",
    "  マルチメディア",   "  メモリ",         "  ブリッジ",       "  通信ポート",
    "  基本的周辺装置",   "  入力装置",       "  ﾄﾞｯｷﾝｸﾞ･ｽﾃｰｼｮﾝ", "  プロセッサ",
    "  シリアル周辺バス", "  ？？？？",
};

constexpr std::string_view kMassStorage[] = {
    "(SCSI)", "(IDE)",        "(フロッピ・ディスク)",    "(IPI)", "(RAID)",
    "(ATA)",  "(Serial ATA)", "(Serial Attatched SCSI)", "(?)",
};
constexpr std::string_view kNetwork[] = {
    "(イーサネット)", "(トークン･リング)", "(FDDI)", "(ATM)", "(?)",
};
constexpr std::string_view kMultimedia[] = {"(ビデオ)", "(オーディオ)", "(?)"};
constexpr std::string_view kMemory[] = {"(RAM)", "(フラッシュROM)", "(?)"};
constexpr std::string_view kBridge[] = {
    "(ホスト)", "(ISA)",        "(EISA)", "(マイクロチャネル)", "(PCI-PCI)", "(PCMCIA)",
    "(NuBus)",  "(カードバス)", "(?)",
};
constexpr std::string_view kCommunication[] = {"(シリアル)", "(パラレル)", "(?)"};
constexpr std::string_view kSystemPeripheral[] = {
    "(PIC)", "(DMAC)", "(システムタイマ)", "(リアルタイムクロック)", "(?)",
};
constexpr std::string_view kInput[] = {"(キーボード)", "(ディジタイザ)", "(マウス)", "(?)"};
constexpr std::string_view kProcessor[] = {"(386)", "(486)", "(Pentium)", "(?)"};
constexpr std::string_view kSerialBus[] = {
    "(IEEE 1394)", "(ACCESS.bus)", "(SSA)", "(USB)", "(Fiber Channel)", "(?)",
};

std::string_view BaseClassName(uint8_t base_class) {
  return kBaseNames[base_class < kBaseClassNames - 1 ? base_class : kBaseClassNames - 1];
}

std::span<const std::string_view> BaseClassNames() { return kBaseNames; }

std::span<const std::string_view> SubClassNames(uint8_t base_class) {
  switch (base_class) {
    case 0x01:
      return kMassStorage;
    case 0x02:
      return kNetwork;
    case 0x04:
      return kMultimedia;
    case 0x05:
      return kMemory;
    case 0x06:
      return kBridge;
    case 0x07:
      return kCommunication;
    case 0x08:
      return kSystemPeripheral;
    case 0x09:
      return kInput;
    case 0x0B:
      return kProcessor;
    case 0x0C:
      return kSerialBus;
    default:
      return {};
  }
}

std::string_view SubClassName(uint8_t base_class, uint8_t sub_class) {
  const std::span<const std::string_view> table = SubClassNames(base_class);
  if (table.empty()) return {};
  return table[sub_class < table.size() ? sub_class : table.size() - 1];
}

}  // namespace kelvox

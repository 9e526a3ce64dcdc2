// The fixed texts of the device details sheet: its caption, the page titles and the labels
// beside the fields. Source is UTF-8; every text converts to CP932 unchanged.
#pragma once

#include <string>

namespace kelvox {

inline constexpr char kVendorPageTitle[] = "ベンダ情報";
inline constexpr char kBaseAddressPageTitle[] = "ベースアドレス";
inline constexpr char kMiscPageTitle[] = "割込みなど";

// Group labels of the base address page: over the six base registers, and over the ROM one.
inline constexpr char kBaseAddressGroupLabel[] = "ベースアドレスレジスタ";
inline constexpr char kExpansionRomGroupLabel[] = "拡張ＲＯＭベースアドレス";

inline constexpr char kVendorIdLabel[] = "ベンダID";
inline constexpr char kDeviceIdLabel[] = "デバイスID";
inline constexpr char kClassCodeLabel[] = "クラスコード";

inline constexpr char kInterruptLineLabel[] = "割込みライン(IRQ)";
inline constexpr char kInterruptPinLabel[] = "割込みピン";
inline constexpr char kMaxLatencyLabel[] = "最大レイテンシ";
inline constexpr char kMinGrantLabel[] = "最小グラント";
inline constexpr char kBistLabel[] = "ＢＩＳＴ";
inline constexpr char kLatencyTimerLabel[] = "レイテンシタイマ";
inline constexpr char kCacheLineSizeLabel[] = "キャッシュラインサイズ";
inline constexpr char kCardbusCisLabel[] = "カードバスCISポインタ";
inline constexpr char kSubsystemVendorIdLabel[] = "サブシステム・ベンダID";
inline constexpr char kSubsystemIdLabel[] = "サブシステムID";

// "バス番号=B, 機能番号=F, デバイス番号=D の詳細情報": note the order bus, function, device.
// Outside domain 0 the domain comes first: "ドメイン=c0e3, バス番号=…".
std::string DetailsCaption(int bus, int function, int device, int domain = 0);

}  // namespace kelvox

// The fields of the "システム" page: what the operating system knows of the function beyond
// its header (config/function_facts.h), one read-only text each.
#pragma once

#include <optional>
#include <vector>

#include "config/function_facts.h"
#include "details/details_field.h"

namespace kelvox {

inline constexpr char kSystemPageTitle[] = "システム";
// Shown in place of the fields when the access method knows none of the facts.
inline constexpr char kSystemFactsUnavailableText[] = "このアクセス方式では取得できません";

inline constexpr int kDriverControl = 1100;
inline constexpr int kModaliasControl = 1101;
inline constexpr int kIrqControl = 1102;
inline constexpr int kMsiControl = 1103;
inline constexpr int kEnabledControl = 1104;
inline constexpr int kPowerStateControl = 1105;
inline constexpr int kNumaNodeControl = 1106;
inline constexpr int kIommuGroupControl = 1107;
inline constexpr int kLinkSpeedControl = 1108;
inline constexpr int kLinkWidthControl = 1109;
inline constexpr int kLinkStateControl = 1110;
inline constexpr int kParentControl = 1111;
inline constexpr int kLinkVerdictControl = 1113;
inline constexpr int kLinkVerdictLabelControl = 1114;

inline constexpr char kDriverLabel[] = "ドライバ";
inline constexpr char kModaliasLabel[] = "モジュール別名";
inline constexpr char kIrqLabel[] = "カーネルのIRQ";
inline constexpr char kMsiLabel[] = "MSI/MSI-X";
inline constexpr char kEnabledLabel[] = "有効";
inline constexpr char kPowerStateLabel[] = "電源状態";
inline constexpr char kNumaNodeLabel[] = "NUMAノード";
inline constexpr char kIommuGroupLabel[] = "IOMMUグループ";
inline constexpr char kLinkSpeedLabel[] = "リンク速度";
inline constexpr char kLinkWidthLabel[] = "リンク幅";
inline constexpr char kLinkStateLabel[] = "リンク状態";
inline constexpr char kParentLabel[] = "親ブリッジ";
inline constexpr char kLinkVerdictLabel[] = "リンクの判定";
// The verdict of a function without a PCI Express link.
inline constexpr char kNoLinkVerdict[] = "リンクなし";

// The page's twelve fields in control order, or none when `facts` is nothing. A fact that is
// not known reads "不明"; one known to be none reads "なし". With `link_verdict` (what the
// health check finds of the function's link: "正常" or the finding), a thirteenth field
// "リンクの判定" holds it; the window gives one, the terminal's details leave it out.
std::vector<DetailsField> SystemPageFields(const std::optional<FunctionFacts>& facts,
                                           const std::optional<std::string>& link_verdict = {});

}  // namespace kelvox

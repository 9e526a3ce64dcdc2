#include "details/system_texts.h"

#include <string>

namespace kelvox {

namespace {

constexpr char kUnknown[] = "不明";
constexpr char kNone[] = "なし";

std::string TextOrNone(const std::optional<std::string>& value) {
  if (!value) return kUnknown;
  return value->empty() ? kNone : *value;
}

std::string Number(const std::optional<int>& value) {
  return value ? std::to_string(*value) : kUnknown;
}

bool HasLink(const FunctionFacts& f) {
  return f.current_link_speed || f.max_link_speed || f.current_link_width || f.max_link_width;
}

std::string Width(const std::optional<int>& lanes) {
  if (!lanes || *lanes <= 0) return kUnknown;
  return "x" + std::to_string(*lanes);
}

std::string Speed(const std::optional<std::string>& speed) {
  if (!speed || *speed == "Unknown" || speed->empty()) return kUnknown;
  return *speed;
}

std::string Msi(const std::optional<int>& vectors) {
  if (!vectors) return kUnknown;
  if (*vectors == 0) return "不使用";
  return "使用中 (" + std::to_string(*vectors) + " ベクタ)";
}

std::string Enabled(const std::optional<bool>& enabled) {
  if (!enabled) return kUnknown;
  return *enabled ? "はい" : "いいえ";
}

std::string NumaNode(const std::optional<int>& node) {
  if (!node) return kUnknown;
  return *node < 0 ? kNone : std::to_string(*node);
}

std::string LinkState(const FunctionFacts& f) {
  const std::optional<bool> below = LinkBelowMaximum(f);
  if (!below) return kUnknown;
  // Many devices lower their link while idle, so this says what is, not that it is broken.
  return *below ? "現在は最大より低い速度または幅" : "最大の速度と幅";
}

std::string Parent(const std::optional<std::string>& parent) {
  if (!parent) return kUnknown;
  return parent->empty() ? "ホストブリッジ直下" : *parent;
}

}  // namespace

std::vector<DetailsField> SystemPageFields(const std::optional<FunctionFacts>& facts,
                                           const std::optional<std::string>& link_verdict) {
  if (!facts) return {};
  const FunctionFacts& f = *facts;
  const bool link = HasLink(f);
  std::vector<DetailsField> fields = {
      {kDriverControl, kDriverLabel, TextOrNone(f.driver)},
      {kModaliasControl, kModaliasLabel, TextOrNone(f.modalias)},
      {kIrqControl, kIrqLabel, Number(f.irq)},
      {kMsiControl, kMsiLabel, Msi(f.msi_vectors)},
      {kEnabledControl, kEnabledLabel, Enabled(f.enabled)},
      {kPowerStateControl, kPowerStateLabel, TextOrNone(f.power_state)},
      {kNumaNodeControl, kNumaNodeLabel, NumaNode(f.numa_node)},
      {kIommuGroupControl, kIommuGroupLabel, TextOrNone(f.iommu_group)},
      {kLinkSpeedControl, kLinkSpeedLabel,
       link ? Speed(f.current_link_speed) + " (最大 " + Speed(f.max_link_speed) + ")" : kNone},
      {kLinkWidthControl, kLinkWidthLabel,
       link ? Width(f.current_link_width) + " (最大 " + Width(f.max_link_width) + ")" : kNone},
      {kLinkStateControl, kLinkStateLabel, link ? LinkState(f) : kNone},
      {kParentControl, kParentLabel, Parent(f.parent)},
  };
  if (link_verdict) fields.push_back({kLinkVerdictControl, kLinkVerdictLabel, *link_verdict});
  return fields;
}

}  // namespace kelvox

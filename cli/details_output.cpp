#include "cli/details_output.h"

#include <optional>

#include "config/recorded_reads.h"
#include "decode/base_address.h"
#include "details/details_texts.h"
#include "details/misc_texts.h"
#include "details/system_texts.h"
#include "details/vendor_page.h"

namespace kelvox::cli {

namespace {

void AppendField(std::string& text, const DetailsField& field) {
  if (field.label.empty()) {
    text += "  ";
  } else {
    text += field.label;
    text += ": ";
  }
  // A name the list does not give is "-", as `list` writes it, not a blank line.
  text += field.text.empty() ? "-" : field.text;
  text += '\n';
}

void AppendTitle(std::string& text, std::string_view title) {
  text += '[';
  text += title;
  text += "]\n";
}

// Where a numeric field of the vendor and register pages comes from: the register, and the
// bits of it the field shows.
struct FieldSource {
  int id;
  int reg;
  int shift;
  uint32_t mask;
};

constexpr FieldSource kFieldSources[] = {
    {kVendorIdControl, 0x00, 0, 0xFFFF},       {kDeviceIdControl, 0x00, 16, 0xFFFF},
    {kClassCodeControl, 0x08, 8, 0xFFFFFF},    {kInterruptLineControl, 0x3C, 0, 0xFF},
    {kInterruptPinControl, 0x3C, 8, 0xFF},     {kMaxLatencyControl, 0x3C, 24, 0xFF},
    {kMinGrantControl, 0x3C, 16, 0xFF},        {kBistControl, 0x0C, 24, 0xFF},
    {kLatencyTimerControl, 0x0C, 8, 0xFF},     {kCacheLineSizeControl, 0x0C, 0, 0xFF},
    {kCardbusCisControl, 0x28, 0, 0xFFFFFFFF}, {kSubsystemVendorIdControl, 0x2C, 0, 0xFFFF},
    {kSubsystemIdControl, 0x2C, 16, 0xFFFF},
};

const FieldSource* SourceOf(int id) {
  for (const FieldSource& source : kFieldSources) {
    if (source.id == id) return &source;
  }
  return nullptr;
}

Json PageJson(std::string_view title, std::span<const DetailsField> fields,
              std::span<const ConfigAccessRecord> reads) {
  Json list = Json::array();
  for (const DetailsField& field : fields) {
    Json entry = {{"id", field.id}, {"label", field.label}, {"text", field.text}};
    if (const FieldSource* source = SourceOf(field.id)) {
      entry["register"] = source->reg;
      const std::optional<uint32_t> value = FirstRead(reads, source->reg);
      entry["value"] = value ? Json((*value >> source->shift) & source->mask) : Json();
    }
    list.push_back(std::move(entry));
  }
  return {{"title", title}, {"fields", std::move(list)}};
}

Json BaseAddressJson(const BaseAddressPage& page, std::span<const ConfigAccessRecord> reads) {
  Json list = Json::array();
  for (size_t i = 0; i < page.size(); ++i) {
    const int reg = kBaseAddressOffsets[i];
    const bool rom = i + 1 == page.size();
    const std::optional<uint32_t> value = FirstRead(reads, reg);
    const std::optional<uint32_t> readback = ReadAfterWrite(reads, reg);
    list.push_back({{"id", page[i].id},
                    {"group", rom ? kExpansionRomGroupLabel : kBaseAddressGroupLabel},
                    {"text", page[i].text},
                    {"register", reg},
                    {"value", value ? Json(*value) : Json()},
                    {"sizing_readback", readback ? Json(*readback) : Json()}});
  }
  return {{"title", kBaseAddressPageTitle}, {"fields", std::move(list)}};
}

template <typename T>
Json OrNull(const std::optional<T>& value) {
  return value ? Json(*value) : Json();
}

// The facts as they are, null where not known (never 0 or "" for unknown; "" is "none").
Json SystemJson(const DeviceDetails& details) {
  const FunctionFacts f = details.facts.value_or(FunctionFacts{});
  Json system = Json::object();
  system["known"] = details.facts.has_value();
  system["driver"] = OrNull(f.driver);
  system["modalias"] = OrNull(f.modalias);
  system["irq"] = OrNull(f.irq);
  system["msi_vectors"] = OrNull(f.msi_vectors);
  system["enabled"] = OrNull(f.enabled);
  system["power_state"] = OrNull(f.power_state);
  system["numa_node"] = OrNull(f.numa_node);
  system["iommu_group"] = OrNull(f.iommu_group);
  system["current_link_speed"] = OrNull(f.current_link_speed);
  system["current_link_width"] = OrNull(f.current_link_width);
  system["max_link_speed"] = OrNull(f.max_link_speed);
  system["max_link_width"] = OrNull(f.max_link_width);
  system["link_below_maximum"] = OrNull(LinkBelowMaximum(f));
  system["parent"] = OrNull(f.parent);
  system["fields"] = PageJson(kSystemPageTitle, details.system, {})["fields"];
  return system;
}

}  // namespace

std::string DetailsText(const DeviceDetails& details) {
  std::string text = details.caption + "\n";
  AppendTitle(text, kVendorPageTitle);
  for (const DetailsField& field : details.vendor) AppendField(text, field);
  AppendTitle(text, kBaseAddressPageTitle);
  for (size_t i = 0; i < details.base_address.size(); ++i) {
    if (i == 0) text += std::string(kBaseAddressGroupLabel) + "\n";
    if (i + 1 == details.base_address.size()) text += std::string(kExpansionRomGroupLabel) + "\n";
    AppendField(text, details.base_address[i]);
  }
  AppendTitle(text, kMiscPageTitle);
  for (const DetailsField& field : details.misc) AppendField(text, field);
  AppendTitle(text, kSystemPageTitle);
  if (details.system.empty()) text += std::string("  ") + kSystemFactsUnavailableText + "\n";
  for (const DetailsField& field : details.system) AppendField(text, field);
  return text;
}

Json DetailsJson(const DeviceDetails& details, std::span<const ConfigAccessRecord> reads) {
  Json pages = Json::array();
  pages.push_back(PageJson(kVendorPageTitle, details.vendor, reads));
  pages.push_back(BaseAddressJson(details.base_address, reads));
  pages.push_back(PageJson(kMiscPageTitle, details.misc, reads));
  return {
      {"caption", details.caption}, {"pages", std::move(pages)}, {"system", SystemJson(details)}};
}

}  // namespace kelvox::cli

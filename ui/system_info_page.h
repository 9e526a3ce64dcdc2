// CSystemInfo: the "システム" page of the device details sheet, laid out by its own dialog
// template (SystemInfoTemplate): what the operating system knows of the function beyond its
// header (driver, interrupt, power, link, IOMMU group, parent bridge). When the access method
// knows none of it, the page shows one line saying so in place of its fields.
#pragma once

#include <vector>

#include "ui/details_page.h"

namespace kelvox {

// The page's template: thirteen labelled read-only fields and the line shown without facts.
const DialogTemplate& SystemInfoTemplate();

// Id of the line shown in place of the fields when no fact is known.
inline constexpr int kSystemFactsUnavailableControl = 1112;

class CSystemInfo : public DetailsPage {
 public:
  CSystemInfo() = default;

  const DialogTemplate& Template() const override;
  wxString Title() const override;

  // Whether the access method knew the facts; set before Create.
  void SetFactsKnown(bool known) { facts_known_ = known; }
  bool facts_known() const { return facts_known_; }

  wxString driver, modalias, irq, msi, enabled, power_state, numa_node, iommu_group;
  wxString link_speed, link_width, link_state, parent, link_verdict;

 protected:
  bool OnInitDialog() override;
  std::vector<TextBinding> Bindings() override;

 private:
  bool facts_known_ = false;

  wxDECLARE_DYNAMIC_CLASS(CSystemInfo);
};

}  // namespace kelvox

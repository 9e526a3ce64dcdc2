#include "config/cfgmgr/device_identity.h"

#include <vector>

#include "config/cfgmgr/hardware_id_text.h"

namespace kelvox {

namespace {

// The instance ID's enumerator and device parts ("PCI\VEN_...&REV_02" of
// "PCI\VEN_...&REV_02\3&267a616a&0&18").
std::string_view DevicePartOfInstanceId(std::string_view instance_id) {
  const size_t first = instance_id.find('\\');
  if (first == std::string_view::npos) return instance_id;
  return instance_id.substr(0, instance_id.find('\\', first + 1));
}

}  // namespace

IdentityOrProblem IdentifyDevice(const DeviceRecord& record) {
  std::vector<std::string> texts = SplitMultiString(record.hardware_ids);
  for (std::string& text : SplitMultiString(record.compatible_ids))
    texts.push_back(std::move(text));
  if (!record.instance_id.empty()) texts.emplace_back(DevicePartOfInstanceId(record.instance_id));

  std::vector<HardwareIdText> ids;
  std::string first_problem;
  for (const std::string& text : texts) {
    ParsedHardwareId parsed = ParseHardwareIdText(text);
    if (parsed.id) {
      ids.push_back(*parsed.id);
    } else if (first_problem.empty()) {
      first_problem = std::move(parsed.problem);
    }
  }

  const HardwareIdText* named = nullptr;
  for (const HardwareIdText& id : ids) {
    if (id.vendor && id.device) {
      named = &id;
      break;
    }
  }
  if (named == nullptr) {
    if (first_problem.empty()) first_problem = "no ID names VEN_ and DEV_";
    return {std::nullopt, first_problem};
  }

  DeviceIdentity identity;
  identity.vendor = *named->vendor;
  identity.device = *named->device;
  bool have_subsystem = false, have_revision = false, have_full_class = false, have_class = false;
  for (const HardwareIdText& id : ids) {
    if ((id.vendor && *id.vendor != identity.vendor) ||
        (id.device && *id.device != identity.device)) {
      continue;
    }
    if (id.subsystem && !have_subsystem) {
      identity.subsystem = *id.subsystem;
      have_subsystem = true;
    }
    if (id.revision && !have_revision) {
      identity.revision = *id.revision;
      have_revision = true;
    }
    if (id.class_code && !have_full_class && (id.class_has_interface || !have_class)) {
      identity.class_code = *id.class_code;
      have_class = true;
      have_full_class = id.class_has_interface;
    }
  }
  return {identity, ""};
}

}  // namespace kelvox

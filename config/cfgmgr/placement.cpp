#include "config/cfgmgr/placement.h"

#include "config/cfgmgr/device_location.h"

namespace kelvox {

namespace {

UnplacedFunction Unplaced(const std::string& instance_id, const DeviceIdentity& id) {
  return {instance_id, static_cast<uint32_t>(id.device) << 16 | id.vendor,
          (id.class_code & 0xFFFFFFu) << 8 | id.revision, id.subsystem};
}

}  // namespace

DevicePlacement PlaceDevices(const std::vector<DeviceRecord>& devices) {
  DevicePlacement result;
  for (const DeviceRecord& record : devices) {
    const std::string who = "cfgmgr: " + record.instance_id + ": ";
    const IdentityOrProblem identity = IdentifyDevice(record);
    if (!identity.identity) {
      result.warnings.push_back(who + "skipped: " + identity.problem);
      continue;
    }
    const PlaceOrProblem place = LocateDevice(record);
    if (!place.at) {
      if (!place.problem.empty()) {
        result.warnings.push_back(who + place.problem + "; listed without a place");
      }
      result.unplaced.push_back(Unplaced(record.instance_id, *identity.identity));
      continue;
    }
    const auto [slot, added] = result.placed.try_emplace(
        *place.at, PlacedDevice{record.instance_id, *identity.identity, record.resources,
                                record.service, record.parent_instance_id});
    if (!added) {
      result.warnings.push_back(who + "claims " + LocationText(*place.at) + ", which " +
                                slot->second.instance_id + " holds; listed without a place");
      result.unplaced.push_back(Unplaced(record.instance_id, *identity.identity));
    }
  }
  return result;
}

}  // namespace kelvox

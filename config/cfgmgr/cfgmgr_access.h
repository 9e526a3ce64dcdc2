// Configuration access on Windows through the device manager (SetupAPI and cfgmgr32), which
// any program may ask without a driver: every present function of the PCI enumerator, with
// its IDs, class, revision, subsystem, ranges and interrupt. A program cannot read the
// registers themselves there, so each function answers the header derived_header.h derives from
// those facts. The device manager is asked once, when the access is first used.
//
// Nothing ever reaches a device. A sizing write of all ones to a base address register makes
// the next read of it give the read-back its range's length implies, until the next write to
// it (the restore); every other write is ignored.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "config/access.h"
#include "config/cfgmgr/derived_header.h"
#include "config/cfgmgr/device_manager_api.h"
#include "config/cfgmgr/placement.h"
#include "config/sizing_answers.h"

namespace kelvox {

class CfgmgrAccess final : public ConfigAccess {
 public:
  explicit CfgmgrAccess(std::unique_ptr<DeviceManagerApi> api);

  // Asks the device manager now, when it has not been asked yet. Returns "" or, when the
  // enumeration as a whole failed, "cfgmgr: cannot list the PCI devices: <reason>".
  std::string Enumerate();

  // The header register derived for a placed function, 0 for the registers above the header,
  // kAllOnes for any other function; an armed sizing answer when there is one.
  uint32_t Read(int bus, int device, int function, int reg) override;
  void Write(int bus, int device, int function, int reg, uint32_t value) override;
  std::string Name() const override { return "cfgmgr"; }

  // The placed functions (of `bus` when one is given); the devices with no place when no bus
  // is given; in `skipped`, a line per device not shown as it claims, or the enumeration's
  // failure.
  FunctionListing ListFunctions(std::optional<int> bus) override;

  bool SizesWithoutWriting() const override { return true; }
  // The range lengths as writable masks of the base address registers.
  std::optional<HeaderSizing> SizingWithoutWriting(FunctionLocation at) override;
  // The driver (the service Windows names) and the interrupt, where known.
  std::optional<FunctionFacts> Facts(FunctionLocation at) override;

 private:
  struct Function {
    PlacedDevice device;
    DerivedHeader header;
  };
  const Function* Find(FunctionLocation at);
  // The address of the placed function whose instance ID is `parent_id`, as the parent fact
  // writes it, or "" when none is (the parent is a root bus, not a PCI bridge).
  std::string ParentAddress(const std::string& parent_id, int domain) const;

  std::unique_ptr<DeviceManagerApi> api_;
  bool enumerated_ = false;
  std::string error_;
  std::map<FunctionLocation, Function> functions_;
  std::vector<UnplacedFunction> unplaced_;
  std::vector<std::string> warnings_;
  SizingAnswers sizing_answers_;
};

}  // namespace kelvox

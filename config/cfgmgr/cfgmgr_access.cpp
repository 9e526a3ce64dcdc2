#include "config/cfgmgr/cfgmgr_access.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace kelvox {

CfgmgrAccess::CfgmgrAccess(std::unique_ptr<DeviceManagerApi> api) : api_(std::move(api)) {}

std::string CfgmgrAccess::Enumerate() {
  if (enumerated_) return error_;
  enumerated_ = true;
  DeviceEnumeration found = api_->PciDevices();
  if (!found.error.empty()) {
    error_ = "cfgmgr: cannot list the PCI devices: " + found.error;
    return error_;
  }
  DevicePlacement placement = PlaceDevices(found.devices);
  // The functions placed at each bus and device: more than one makes the device multi-function.
  std::map<std::pair<int, int>, int> functions_of;
  for (const auto& [at, unused] : placement.placed) ++functions_of[{at.bus, at.device}];
  for (auto& [at, device] : placement.placed) {
    const bool multi_function = functions_of[{at.bus, at.device}] > 1;
    DerivedHeader header = DeriveHeader(device.identity, device.resources, multi_function);
    functions_.emplace(at, Function{std::move(device), header});
  }
  unplaced_ = std::move(placement.unplaced);
  warnings_ = std::move(placement.warnings);
  return error_;
}

const CfgmgrAccess::Function* CfgmgrAccess::Find(FunctionLocation at) {
  Enumerate();
  const auto found = functions_.find(MaskedLocation(at.bus, at.device, at.function));
  return found == functions_.end() ? nullptr : &found->second;
}

uint32_t CfgmgrAccess::Read(int bus, int device, int function, int reg) {
  const Function* f = Find({bus, device, function});
  if (f == nullptr) return kAllOnes;
  const int offset = reg & 0xFC;
  if (const std::optional<uint32_t> armed =
          sizing_answers_.Armed(MaskedLocation(bus, device, function), offset)) {
    return *armed;
  }
  return offset < kHeaderBytes ? f->header.registers[offset / 4] : 0;
}

void CfgmgrAccess::Write(int bus, int device, int function, int reg, uint32_t value) {
  const FunctionLocation at = MaskedLocation(bus, device, function);
  const int offset = reg & 0xFC;
  sizing_answers_.Write(at, offset, value, [&]() -> std::optional<uint32_t> {
    const Function* f = Find(at);
    if (f == nullptr || offset >= kHeaderBytes) return std::nullopt;
    const uint32_t mask = f->header.sizing[offset / 4];
    if (mask == 0) return std::nullopt;
    return f->header.registers[offset / 4] | mask;
  });
}

FunctionListing CfgmgrAccess::ListFunctions(std::optional<int> bus) {
  FunctionListing listing;
  if (!Enumerate().empty()) {
    listing.skipped.push_back(error_);
    return listing;
  }
  for (const auto& [at, unused] : functions_) {
    if (!bus || at.bus == (*bus & 0xFF)) listing.present.push_back(at);
  }
  listing.skipped = warnings_;
  if (!bus) listing.unplaced = unplaced_;
  return listing;
}

std::optional<HeaderSizing> CfgmgrAccess::SizingWithoutWriting(FunctionLocation at) {
  const Function* f = Find(at);
  if (f == nullptr) return std::nullopt;
  HeaderSizing sizing;
  sizing.writable = f->header.sizing;
  return sizing;
}

std::string CfgmgrAccess::ParentAddress(const std::string& parent_id, int domain) const {
  // Windows compares device instance IDs without regard to case.
  const auto same = [&parent_id](const std::string& id) {
    return std::equal(id.begin(), id.end(), parent_id.begin(), parent_id.end(), [](char a, char b) {
      return std::tolower(static_cast<unsigned char>(a)) ==
             std::tolower(static_cast<unsigned char>(b));
    });
  };
  for (const auto& [location, function] : functions_) {
    if (same(function.device.instance_id)) {
      FunctionLocation in_domain = location;
      in_domain.domain = domain;
      return AddressText(in_domain);
    }
  }
  return "";  // not a PCI function: the root bus of a host bridge
}

std::optional<FunctionFacts> CfgmgrAccess::Facts(FunctionLocation at) {
  const Function* f = Find(at);
  if (f == nullptr) return std::nullopt;
  FunctionFacts facts;
  bool known = false;
  if (f->device.service) {
    facts.driver = *f->device.service;
    known = true;
  }
  if (const std::optional<uint64_t> irq = FirstInterrupt(f->device.resources);
      irq && *irq <= static_cast<uint64_t>(INT_MAX)) {
    facts.irq = static_cast<int>(*irq);
    known = true;
  }
  if (f->device.parent_instance_id) {
    facts.parent = ParentAddress(*f->device.parent_instance_id, at.domain);
    known = true;
  }
  if (!known) return std::nullopt;
  return facts;
}

}  // namespace kelvox

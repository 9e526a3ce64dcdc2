// Where a device the Windows device manager lists sits: bus from its bus number property,
// device and function from its address property (device << 16 | function). Where those are
// missing, the numbers come from its location text, which the PCI bus driver writes as
// "PCI bus 3, device 0, function 1" (decimal numbers; the registry stores it as the indirect
// text "@System32\drivers\pci.sys,#65536;PCI bus %1, device %2, function %3;(3,0,1)", which
// is read too), or from a "BUS_03&DEV_00&FUNC_01" part
// (two hexadecimal digits each) of the location text or the instance ID.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/cfgmgr/device_manager_api.h"
#include "config/function_location.h"

namespace kelvox {

// The numbers a text gives, before they are checked against the field widths.
struct LocationNumbers {
  uint64_t bus = 0;
  uint64_t device = 0;
  uint64_t function = 0;
  bool operator==(const LocationNumbers&) const = default;
};

// The numbers of "PCI bus B, device D, function F" (decimal, words in either case), of a
// "BUS_bb&DEV_dd&FUNC_ff" part (hexadecimal) anywhere in `text`, or of the "(B,D,F)" arguments
// of the indirect form; nothing when it holds none of them.
std::optional<LocationNumbers> ParseLocationNumbers(std::string_view text);

// A device's place in domain 0, or nothing when it has none; `problem` says why a location
// that was found cannot be used (bus above 255, device above 31, function above 7).
struct PlaceOrProblem {
  std::optional<FunctionLocation> at;
  std::string problem;
};
PlaceOrProblem LocateDevice(const DeviceRecord& record);

}  // namespace kelvox

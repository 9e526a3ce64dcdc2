// The parts of the PCI Express capability (0x10), decoded in two files: the device's registers
// (pci_express.cpp) and those of its link, slot and root port (pci_express_link.cpp). The
// register offsets are those of the capability structure.
#pragma once

#include <string>

#include "caps/capability.h"
#include "caps/config_space.h"

namespace kelvox::pcie {

// Device/Port Type (capability register bits 7:4).
enum PortType : int {
  kEndpoint = 0,
  kLegacyEndpoint = 1,
  kRootPort = 4,
  kUpstreamPort = 5,
  kDownstreamPort = 6,
  kPcieToPciBridge = 7,
  kPciToPcieBridge = 8,
  kRootComplexEndpoint = 9,
  kRootComplexEventCollector = 10,
};

// What lspci calls a link speed encoding: 1 "2.5GT/s" ... 6 "64GT/s", else "unknown".
std::string LinkSpeedText(int encoding);

// A power limit from its value and scale, as lspci prints it: "25W", "2.5W", ">600W".
std::string PowerText(int value, int scale);

// "<64ns" ... "unlimited" (L0s), "<1us" ... "unlimited" (L1): the latencies of 3-bit codes.
std::string L0sLatencyText(int code);
std::string L1LatencyText(int code);

// Each adds its registers to `cap`: the capability starts at cap.offset, of port `type`.
void AddDeviceRegisters(const ConfigSpace& space, Capability& cap, int type);
void AddLinkRegisters(const ConfigSpace& space, Capability& cap, int type);
void AddSlotRegisters(const ConfigSpace& space, Capability& cap);
void AddRootRegisters(const ConfigSpace& space, Capability& cap);
void AddDevice2Registers(const ConfigSpace& space, Capability& cap, int type);
// `function_zero`: the function is function 0 of device 0.
void AddLink2Registers(const ConfigSpace& space, Capability& cap, int type, bool function_zero);

}  // namespace kelvox::pcie

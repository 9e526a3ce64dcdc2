#include "caps/capability_names.h"

#include <array>
#include <string_view>

#include "caps/cap_field.h"

namespace kelvox {

namespace {

constexpr std::array<std::string_view, 0x16> kStandard = {
    "Null",
    "Power Management",
    "AGP",
    "Vital Product Data",
    "Slot Identification",
    "MSI",
    "CompactPCI Hot Swap",
    "PCI-X",
    "HyperTransport",
    "Vendor Specific",
    "Debug Port",
    "CompactPCI Central Resource Control",
    "PCI Hot-Plug",
    "Bridge Subsystem Vendor ID",
    "AGP 8x",
    "Secure Device",
    "PCI Express",
    "MSI-X",
    "SATA Data/Index Configuration",
    "Advanced Features",
    "Enhanced Allocation",
    "Flattening Portal Bridge",
};

constexpr std::array<std::string_view, 0x35> kExtended = {
    "Null",
    "Advanced Error Reporting",
    "Virtual Channel",
    "Device Serial Number",
    "Power Budgeting",
    "Root Complex Link Declaration",
    "Root Complex Internal Link Control",
    "Root Complex Event Collector Endpoint Association",
    "Multi-Function Virtual Channel",
    "Virtual Channel (MFVC)",
    "Root Complex Register Block Header",
    "Vendor-Specific Extended",
    "Configuration Access Correlation",
    "Access Control Services",
    "Alternative Routing-ID Interpretation",
    "Address Translation Services",
    "Single Root I/O Virtualization",
    "Multi-Root I/O Virtualization",
    "Multicast",
    "Page Request Interface",
    "Reserved for AMD",
    "Resizable BAR",
    "Dynamic Power Allocation",
    "TPH Requester",
    "Latency Tolerance Reporting",
    "Secondary PCI Express",
    "Protocol Multiplexing",
    "Process Address Space ID",
    "LN Requester",
    "Downstream Port Containment",
    "L1 PM Substates",
    "Precision Time Measurement",
    "PCI Express over M-PHY",
    "FRS Queueing",
    "Readiness Time Reporting",
    "Designated Vendor-Specific",
    "VF Resizable BAR",
    "Data Link Feature",
    "Physical Layer 16.0 GT/s",
    "Lane Margining at the Receiver",
    "Hierarchy ID",
    "Native PCIe Enclosure Management",
    "Physical Layer 32.0 GT/s",
    "Alternate Protocol",
    "System Firmware Intermediary",
    "Shadow Functions",
    "Data Object Exchange",
    "Device 3",
    "Integrity and Data Encryption",
    "Physical Layer 64.0 GT/s",
    "Flit Logging",
    "Flit Performance Measurement",
    "Flit Error Injection",
};

}  // namespace

std::string StandardCapabilityName(int id) {
  if (id >= 0 && id < static_cast<int>(kStandard.size())) return std::string(kStandard[id]);
  return "Unknown (0x" + Hex(static_cast<uint32_t>(id), 2) + ")";
}

std::string ExtendedCapabilityName(int id) {
  if (id >= 0 && id < static_cast<int>(kExtended.size())) return std::string(kExtended[id]);
  return "Unknown (0x" + Hex(static_cast<uint32_t>(id), 4) + ")";
}

}  // namespace kelvox

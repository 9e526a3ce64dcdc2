// The few answers the Windows device manager (SetupAPI and the configuration manager) gives
// about the PCI functions it knows, behind one small interface: the cfgmgr access method reads
// them through it, the Windows build answers it with the real calls (api_win32.h), and
// tests answer it with recorded values in the formats Windows writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvox {

// One resource descriptor of a device's logical configuration, with the fields Windows gives.
struct DeviceResource {
  enum class Kind {
    kMemory,       // a memory descriptor (MEM_DES)
    kLargeMemory,  // a large memory descriptor (MEM_LARGE_DES)
    kIo,           // an I/O port descriptor (IO_DES)
    kIrq,          // an interrupt descriptor (IRQ_DES): `start` is the interrupt number
  };
  Kind kind = Kind::kMemory;
  uint64_t start = 0;  // first address (Alloc_Base), or the interrupt number
  uint64_t end = 0;    // last address (Alloc_End, inclusive); unused for an interrupt
  uint32_t flags = 0;  // MD_Flags / MLD_Flags / IOD_DesFlags / IRQD_Flags as Windows sets them

  bool operator==(const DeviceResource&) const = default;
};

// Descriptor flags the mapping to registers looks at (the values of cfgmgr32.h).
inline constexpr uint32_t kMemoryPrefetchable = 0x4;  // fMD_PrefetchAllowed
inline constexpr uint32_t kMemoryWindow = 0x40;       // fMD_WINDOW_DECODE: a bridge's window
inline constexpr uint32_t kMemoryBar = 0x80;          // fMD_MEMORY_BAR: decoded by a BAR
inline constexpr uint32_t kIoWindow = 0x80;           // fIOD_WINDOW_DECODE
inline constexpr uint32_t kIoBar = 0x100;             // fIOD_PORT_BAR

// What the device manager says of one present device of the PCI enumerator. Texts are UTF-8.
struct DeviceRecord {
  std::string instance_id;  // "PCI\VEN_8086&DEV_100E&SUBSYS_001E8086&REV_02\3&267a616a&0&18"
  // Multi-strings as the registry holds them: each ID ends with a NUL, the list with one more
  // ("a\0b\0\0"); empty when the property is missing.
  std::string hardware_ids;
  std::string compatible_ids;
  std::optional<uint32_t> bus_number;        // SPDRP_BUSNUMBER
  std::optional<uint32_t> address;           // SPDRP_ADDRESS: device << 16 | function
  std::optional<std::string> location_text;  // SPDRP_LOCATION_INFORMATION
  std::optional<std::string> service;        // SPDRP_SERVICE: the driver's service name
  // The instance ID of the device it hangs from (CM_Get_Parent): a PCI bridge's, or the root
  // bus's ("ACPI\PNP0A08\0") for a device on a host bridge; nothing when not known.
  std::optional<std::string> parent_instance_id;
  // The allocated logical configuration's descriptors in order (the boot one where none is
  // allocated); empty when the device has none or the functions to read them are missing.
  std::vector<DeviceResource> resources;
};

// Every present device of the PCI enumerator, or why they could not be listed.
struct DeviceEnumeration {
  std::vector<DeviceRecord> devices;
  std::string error;  // set when the enumeration as a whole failed; `devices` is then empty
};

class DeviceManagerApi {
 public:
  virtual ~DeviceManagerApi() = default;
  virtual DeviceEnumeration PciDevices() = 0;
};

}  // namespace kelvox

// The lines of `kelvox-cli list`: one per present function, its address, IDs, class code and
// the names the PCI ID list in use (--ids) gives them, and the filters that choose functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/json_output.h"
#include "config/access.h"
#include "config/capture/simulated_bus.h"

namespace kelvox::cli {

struct ListedFunction {
  FunctionLocation at;  // meaningless when `placed` is false
  // "BB:DD.F", "DDDD:BB:DD.F" when domains are shown, or the system's own name for a function
  // it cannot place in a bus (a Windows device instance ID).
  std::string address;
  bool placed = true;
  uint32_t reg00 = 0;  // vendor ID (15:0) and device ID (31:16)
  uint32_t reg08 = 0;  // class code (31:8) and revision
  std::string_view vendor_short_name, vendor_full_name, chip_name, device_description;
  std::string_view base_class_name, sub_class_name, prog_if_name;
  // The subsystem's name, read only when the list in use names subsystems (not the embedded one).
  std::optional<std::string_view> subsystem_name;
  // "ADDRESS VVVV:DDDD CCCCCC  VENDOR | DEVICE | CLASS": the vendor's name as its list writes
  // it on one line (FindVendorLineName); the chip name
  // and description, blank between; the class names that are not empty, " / " between; "-"
  // for a part without any name. A named subsystem follows as a fourth part, " | " before it.
  std::string text;
  // What the system keeps of a function asleep in D3cold, which was named from it rather than
  // read; nothing for a function that was read.
  std::optional<KeptRegisters> kept;
};

// Reads registers 0x00 and 0x08 of the function (in its own domain) and names it; with a list
// that names subsystems, also 0x0C and 0x2C. A function asleep in D3cold is not read: its
// registers are what the access method keeps of it (ConfigAccess::SleepingRegisters). `with_domain` writes the address with its domain.
ListedFunction DescribeFunction(ConfigAccess& access, FunctionLocation at,
                                bool with_domain = false);

// Names a function the system cannot place in a bus from the IDs it gives.
ListedFunction DescribeUnplaced(const UnplacedFunction& function);

// The function as a JSON object (see the README for the schema): "domain", "bus", "device" and
// "function" are null for a function with no place in a bus; "subsystem_name" (a string, or
// null) only when the list in use names subsystems.
Json ListedFunctionJson(const ListedFunction& function);

// Which functions to list: a vendor ID, and the leading 2, 4 or 6 hex digits of a class code.
struct ListFilter {
  std::optional<uint16_t> vendor_id;
  std::optional<uint32_t> class_prefix;
  int class_digits = 0;

  bool Accepts(const ListedFunction& function) const;
};

// Sets the filter's vendor from exactly 4 hexadecimal digits; false for anything else.
bool ParseVendorFilter(std::string_view text, ListFilter& filter);
// Sets the filter's class prefix from exactly 2, 4 or 6 hexadecimal digits; false otherwise.
bool ParseClassFilter(std::string_view text, ListFilter& filter);

}  // namespace kelvox::cli

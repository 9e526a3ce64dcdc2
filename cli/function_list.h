// The lines of `kelvox-cli list`: one per present function, its address, IDs, class code and
// the names the embedded PCI ID list gives them, and the filters that choose functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/json_output.h"
#include "config/access.h"
#include "config/simulated_bus.h"

namespace kelvox::cli {

struct ListedFunction {
  FunctionLocation at;
  uint32_t reg00 = 0;  // vendor ID (15:0) and device ID (31:16)
  uint32_t reg08 = 0;  // class code (31:8) and revision
  std::string_view vendor_short_name, vendor_full_name, chip_name, device_description;
  std::string_view base_class_name, sub_class_name, prog_if_name;
  // The subsystem's name, read only when the list in use names subsystems (not the embedded one).
  std::optional<std::string_view> subsystem_name;
  // "BB:DD.F VVVV:DDDD CCCCCC  VENDOR | DEVICE | CLASS": the vendor's full name; the chip name
  // and description, blank between; the class names that are not empty, " / " between; "-"
  // for a part without any name. A named subsystem follows as a fourth part, " | " before it.
  std::string text;
};

// Reads registers 0x00 and 0x08 of the function and names it; with a list that names
// subsystems, also 0x0C and 0x2C.
ListedFunction DescribeFunction(ConfigAccess& access, FunctionLocation at);

// The function as a JSON object (see the README for the schema); "subsystem_name" (a string,
// or null) only when the list in use names subsystems.
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

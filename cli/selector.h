// Which functions a command works on, chosen the way lspci's -s and -d choose them, so that an
// address pasted from lspci's output or from our own selects the same functions:
//   -s [[DDDD:]BB:]DD[.F]    a place: domain, bus, device (slot) and function, each in
//                            hexadecimal; a part left out, left empty or written "*" matches
//                            any ("00:0" is device 0 of bus 0, any function; ".1" is function 1
//                            of every device)
//   -d [VVVV]:[DDDD][:CCCC]  IDs: vendor, device and class (base class and sub-class, as the
//                            first four digits of the class code), each optional
// Both may be given; a function must then match both.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/access.h"
#include "config/function_location.h"
#include "options/args.h"

namespace kelvox::cli {

struct Selector {
  std::optional<int> domain, bus, device, function;
  std::optional<uint16_t> vendor_id, device_id;
  std::optional<uint16_t> class_code;  // base class << 8 | sub-class
  // The words given, for messages: "-s 03:00.0", "-d 1af4:", "-s 03:00.0 -d 1af4:".
  std::string slot_text, id_text;

  // Whether -s or -d was given at all.
  bool Given() const { return !slot_text.empty() || !id_text.empty(); }
  bool MatchesPlace(FunctionLocation at) const;
  // `reg00` and `reg08` are the function's registers 0x00 (IDs) and 0x08 (class, revision).
  bool MatchesIds(uint32_t reg00, uint32_t reg08) const;
  bool Matches(FunctionLocation at, uint32_t reg00, uint32_t reg08) const {
    return MatchesPlace(at) && MatchesIds(reg00, reg08);
  }
  // "-s 03:00.0", "-d 1af4:", or both, as the options were given.
  std::string Description() const;
};

// Reads an -s word into `selector`. Returns "" on success, else a one-line reason naming the
// part that is wrong ("-s: invalid bus number '100' (hexadecimal 0 to ff)").
std::string ParseSlotSelector(std::string_view text, Selector& selector);

// Reads a -d word into `selector`, likewise.
std::string ParseIdSelector(std::string_view text, Selector& selector);

// Reads the -s and -d a command line gave. Returns "" on success, else the reason.
std::string ReadSelection(const ParsedOptions& options, Selector& selector);

// The functions of `present` that `selector` chooses, in their order; registers 0x00 and 0x08
// are read (in each function's own domain) only when it chooses by IDs.
std::vector<FunctionLocation> SelectFunctions(ConfigAccess& access,
                                              const std::vector<FunctionLocation>& present,
                                              const Selector& selector);

// The one line a command that found nothing to work on ends with: "no function matches -s X".
std::string NothingMatches(const Selector& selector);

}  // namespace kelvox::cli

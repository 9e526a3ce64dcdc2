// The capture reader on any text: it either refuses the text with SimulatedBusFileError or
// reads a bus that, written out and read again, is the same bus: the same functions, every
// configuration byte, every writable mask and every fact. kelvox-cli's tree and details then
// run on the bus it read, as on a capture file a user names (tree_details_check.h).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/capture/capture_text.h"
#include "config/capture/simulated_bus.h"
#include "config/function_facts.h"
#include "config/function_location.h"
#include "fuzz/tree_details_check.h"

namespace {

[[noreturn]] void RoundTripFails(const std::string& what, const std::string& formatted) {
  std::fprintf(stderr, "capture round trip: %s\n--- written text ---\n%s--- end ---\n",
               what.c_str(), formatted.c_str());
  std::abort();
}

void CheckSameBus(const kelvox::SimulatedBus& first, const kelvox::SimulatedBus& second,
                  const std::string& formatted) {
  if (first.Locations() != second.Locations()) {
    RoundTripFails("the functions differ (" + std::to_string(first.Locations().size()) + " read, " +
                       std::to_string(second.Locations().size()) + " read back)",
                   formatted);
  }
  for (const kelvox::FunctionLocation& at : first.Locations()) {
    const kelvox::SimulatedFunction& a = *first.Find(at);
    const kelvox::SimulatedFunction& b = *second.Find(at);
    for (int i = 0; i < kelvox::SimulatedFunction::kBytes; ++i) {
      if (a.bytes[i] != b.bytes[i]) {
        RoundTripFails("byte " + std::to_string(i) + " of " + kelvox::AddressText(at) + " differs",
                       formatted);
      }
    }
    const kelvox::FunctionFacts* facts_a = first.FindFacts(at);
    const kelvox::FunctionFacts* facts_b = second.FindFacts(at);
    if ((facts_a == nullptr) != (facts_b == nullptr) ||
        (facts_a != nullptr && !(*facts_a == *facts_b))) {
      RoundTripFails("the facts of " + kelvox::AddressText(at) + " differ", formatted);
    }
    for (std::size_t i = 0; i < a.writable.size(); ++i) {
      if (a.writable[i] != b.writable[i]) {
        RoundTripFails("writable mask of register " + std::to_string(i * 4) + " of " +
                           kelvox::AddressText(at) + " differs",
                       formatted);
      }
    }
  }
}

}  // namespace

// tree and details name things from the embedded list, not from whatever list the machine
// has: the same input always runs the same way.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("KELVOX_IDS", "embedded", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string formatted;
  try {
    const kelvox::SimulatedBus first = kelvox::ParseSimulatedBus(text);
    formatted = kelvox::FormatSimulatedBus(first);
    kelvox::SimulatedBus second;
    try {
      second = kelvox::ParseSimulatedBus(formatted);
    } catch (const kelvox::SimulatedBusFileError& error) {
      RoundTripFails(std::string("the written text is refused: ") + error.what(), formatted);
    }
    CheckSameBus(first, second, formatted);
    kelvox::fuzz::CheckTree(first);
    kelvox::fuzz::CheckDetails(first);
  } catch (const kelvox::SimulatedBusFileError&) {
    // Refused input: nothing to compare.
  }
  return 0;
}

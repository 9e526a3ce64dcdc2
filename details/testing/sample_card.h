// A bus with one well-known card for tests and benchmarks of the details texts: a Realtek
// RTL8029 network card at 00:03.0 with a prefetchable 1 MB memory register, a 32-byte I/O
// register, an enabled expansion ROM and every register of the third details page set.
#pragma once

#include "config/capture/simulated_bus.h"

namespace kelvox::testing {

inline SimulatedBus SampleCardBus() {
  SimulatedBus bus;
  const FunctionLocation at{0, 3, 0};
  bus.AddFunction(at);
  bus.SetRegister(at, 0x00, 0x802910ECu);
  bus.SetRegister(at, 0x08, 0x02000001u);
  bus.SetRegister(at, 0x0C, 0x80004008u);
  bus.SetRegister(at, 0x10, 0xE0000008u);
  bus.SetWritableMask(at, 0x10, 0xFFF00000u);
  bus.SetRegister(at, 0x14, 0x0000E001u);
  bus.SetWritableMask(at, 0x14, 0xFFFFFFE0u);
  bus.SetRegister(at, 0x28, 0x00000A01u);
  bus.SetRegister(at, 0x2C, 0x12341AF4u);
  bus.SetRegister(at, 0x30, 0xFFFC0001u);
  bus.SetWritableMask(at, 0x30, 0xFFFE0001u);
  bus.SetRegister(at, 0x3C, 0x2A01010Bu);
  return bus;
}

}  // namespace kelvox::testing

// Configuration access through PCI configuration mechanism #1: the configuration address goes
// to port 0xCF8 and the register's dword moves through port 0xCFC, with interrupts disabled for
// the span of the three port accesses so that no one else's address/data pair can come between.
// Where the processor refuses the instructions the fault is translated and caught here: a read
// yields all ones, a write does nothing.
//
// Interrupts are never left disabled by a fault: where user-mode port I/O is forbidden the
// fault comes at `cli` itself, before anything was disabled, and `sti` is executed only for a
// `cli` that completed. A fault after `cli` (a port refused on its own) clears the address
// port if it was set and then executes `sti`, each step guarded in turn.
#pragma once

#include <cstdint>
#include <string>

#include "config/access.h"
#include "config/port/port_bus.h"

namespace kelvox {

// The spacing between port accesses: a busy loop that adds the integers 1 to count - 1 and
// throws the sum away.
void ShortDelay(int count);

// The count every access uses.
inline constexpr int kPortDelayCount = 10;

class PortIoAccess final : public ConfigAccess {
 public:
  // Uses the processor's own port instructions.
  PortIoAccess();
  // Uses `ports` (a fake host bridge in tests); it must outlive this object.
  explicit PortIoAccess(PortBus& ports);

  // cli; out 0xCF8 <- address; delay; in 0xCFC; delay; out 0xCF8 <- 0; delay; sti.
  uint32_t Read(int bus, int device, int function, int reg) override;
  // cli; out 0xCF8 <- address; delay; out 0xCFC <- value; delay; out 0xCF8 <- 0; delay; sti.
  void Write(int bus, int device, int function, int reg, uint32_t value) override;
  std::string Name() const override { return "port"; }
  // After an access faulted: that the system forbids port I/O, with the fault's name.
  std::string ReadProblem() const override;
  // The 256 bytes mechanism #1 reaches, a register at a time.
  FunctionSpace ReadSpace(FunctionLocation at, int start, int end) override;

 private:
  PortBus& ports_;
  std::string fault_;  // what the first faulting access raised, empty while none has
};

}  // namespace kelvox

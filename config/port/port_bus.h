// The seam between the port I/O access and the processor: the four instructions configuration
// mechanism #1 needs (disable and enable interrupts, 32-bit port output and input). The machine
// implementation executes them; tests stand a fake host bridge in their place.
#pragma once

#include <cstdint>

namespace kelvox {

class PortBus {
 public:
  virtual ~PortBus() = default;
  // Disables interrupts on this processor (`cli`).
  virtual void Cli() = 0;
  // Enables interrupts on this processor (`sti`).
  virtual void Sti() = 0;
  // Writes a dword to an I/O port (`out`).
  virtual void Out32(uint16_t port, uint32_t value) = 0;
  // Reads a dword from an I/O port (`in`).
  virtual uint32_t In32(uint16_t port) = 0;
};

// The processor's own instructions. Where the operating system forbids them (every Linux user
// process, for one) each raises a fault that the fault translator turns into
// priv_instruction. On a processor without I/O ports each throws priv_instruction itself, so
// the outcome is the same.
class MachinePortBus final : public PortBus {
 public:
  void Cli() override;
  void Sti() override;
  void Out32(uint16_t port, uint32_t value) override;
  uint32_t In32(uint16_t port) override;

  // Address of the `cli` instruction, the first privileged instruction of every access, or
  // null on a processor without I/O ports.
  static const void* CliInstruction();
  // Whether `address` lies among the four port instructions' code.
  static bool IsPortInstructionCode(const void* address);
};

// The one MachinePortBus of the process.
PortBus& MachinePorts();

}  // namespace kelvox

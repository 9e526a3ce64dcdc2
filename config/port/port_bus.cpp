#include "config/port/port_bus.h"

#include "config/port/exceptions.h"

// The instructions live in four tiny functions written in assembly, between two markers, so
// that the exact address of each is known: a fault reported at `cli` can be checked against
// it, and no compiler can move, merge or drop them.
#if defined(__x86_64__) || defined(__i386__)

extern "C" {
void kelvox_port_cli();
void kelvox_port_sti();
void kelvox_port_out32(uint32_t port, uint32_t value);
uint32_t kelvox_port_in32(uint32_t port);
void kelvox_port_code_begin();
void kelvox_port_code_end();
}

#if defined(__x86_64__)
// System V AMD64: the port arrives in %edi, the value in %esi; the result leaves in %eax.
#define KELVOX_LOAD_PORT "  movl %edi, %edx\n"
#define KELVOX_LOAD_VALUE "  movl %esi, %eax\n"
#else
// cdecl: arguments on the stack above the return address.
#define KELVOX_LOAD_PORT "  movl 4(%esp), %edx\n"
#define KELVOX_LOAD_VALUE "  movl 8(%esp), %eax\n"
#endif

#define KELVOX_FUNCTION(name) \
  "  .globl " #name "\n  .hidden " #name "\n  .type " #name ", @function\n" #name ":\n"

// clang-format off
asm(".text\n"
    "  .p2align 4\n"
    KELVOX_FUNCTION(kelvox_port_code_begin)
    KELVOX_FUNCTION(kelvox_port_cli)
    "  cli\n"
    "  ret\n"
    KELVOX_FUNCTION(kelvox_port_sti)
    "  sti\n"
    "  ret\n"
    KELVOX_FUNCTION(kelvox_port_out32)
    KELVOX_LOAD_PORT
    KELVOX_LOAD_VALUE
    "  outl %eax, %dx\n"
    "  ret\n"
    KELVOX_FUNCTION(kelvox_port_in32)
    KELVOX_LOAD_PORT
    "  inl %dx, %eax\n"
    "  ret\n"
    KELVOX_FUNCTION(kelvox_port_code_end)
    "  ret\n");
// clang-format on

namespace kelvox {

void MachinePortBus::Cli() { kelvox_port_cli(); }
void MachinePortBus::Sti() { kelvox_port_sti(); }
void MachinePortBus::Out32(uint16_t port, uint32_t value) { kelvox_port_out32(port, value); }
uint32_t MachinePortBus::In32(uint16_t port) { return kelvox_port_in32(port); }

const void* MachinePortBus::CliInstruction() {
  return reinterpret_cast<const void*>(&kelvox_port_cli);
}

bool MachinePortBus::IsPortInstructionCode(const void* address) {
  const auto at = reinterpret_cast<uintptr_t>(address);
  return at >= reinterpret_cast<uintptr_t>(&kelvox_port_code_begin) &&
         at < reinterpret_cast<uintptr_t>(&kelvox_port_code_end);
}

}  // namespace kelvox

#else  // no I/O ports on this processor

namespace kelvox {

void MachinePortBus::Cli() { ThrowStructuredException(kExceptionPrivInstruction, nullptr); }
void MachinePortBus::Sti() { ThrowStructuredException(kExceptionPrivInstruction, nullptr); }
void MachinePortBus::Out32(uint16_t, uint32_t) {
  ThrowStructuredException(kExceptionPrivInstruction, nullptr);
}
uint32_t MachinePortBus::In32(uint16_t) {
  ThrowStructuredException(kExceptionPrivInstruction, nullptr);
}
const void* MachinePortBus::CliInstruction() { return nullptr; }
bool MachinePortBus::IsPortInstructionCode(const void*) { return false; }

}  // namespace kelvox

#endif

namespace kelvox {

PortBus& MachinePorts() {
  static MachinePortBus ports;
  return ports;
}

}  // namespace kelvox

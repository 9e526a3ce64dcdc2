// Windows implementation of the processor's port instructions (port_bus.h). The four
// instructions live in leaf functions written in assembly between two markers; the range is
// registered with the fault translator, whose handler sends a fault there to the fix-up label
// below it, and the fix-up throws the typed exception (fault_fixup_win32.h). None of the
// functions touches the stack before its privileged instruction, as a fix-up requires.
#ifdef _WIN32

#include "config/port/exceptions.h"
#include "config/port/fault_fixup_win32.h"
#include "config/port/port_bus.h"

extern "C" {
void kelvox_port_cli();
void kelvox_port_sti();
void kelvox_port_out32(uint32_t port, uint32_t value);
uint32_t kelvox_port_in32(uint32_t port);
void kelvox_port_code_begin();
void kelvox_port_code_end();
void kelvox_port_fixup();
}

#if defined(__x86_64__)
// Microsoft x64 convention: the port arrives in %ecx, the value in %edx; the result leaves in
// %eax.
#define KELVOX_OUT32 "  movl %edx, %eax\n  movl %ecx, %edx\n  outl %eax, %dx\n"
#define KELVOX_IN32 "  movl %ecx, %edx\n  inl %dx, %eax\n"
#define KELVOX_SYMBOL(name) #name
#else
// cdecl: arguments on the stack above the return address; C names carry a leading underscore.
#define KELVOX_OUT32 "  movl 4(%esp), %edx\n  movl 8(%esp), %eax\n  outl %eax, %dx\n"
#define KELVOX_IN32 "  movl 4(%esp), %edx\n  inl %dx, %eax\n"
#define KELVOX_SYMBOL(name) "_" #name
#endif

#define KELVOX_FUNCTION(name) "  .globl " KELVOX_SYMBOL(name) "\n" KELVOX_SYMBOL(name) ":\n"

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
    KELVOX_OUT32
    "  ret\n"
    KELVOX_FUNCTION(kelvox_port_in32)
    KELVOX_IN32
    "  ret\n"
    KELVOX_FUNCTION(kelvox_port_code_end)
    "  ret\n"
    KELVOX_FUNCTION(kelvox_port_fixup)
    "  jmp " KELVOX_SYMBOL(kelvox_throw_recorded_fault) "\n");
// clang-format on

namespace kelvox {

namespace {

// Makes the port code's faults recoverable, once per process.
void RegisterPortFixup() {
  static const bool registered = [] {
    RegisterFaultFixup(reinterpret_cast<const void*>(&kelvox_port_code_begin),
                       reinterpret_cast<const void*>(&kelvox_port_code_end),
                       reinterpret_cast<const void*>(&kelvox_port_fixup));
    return true;
  }();
  (void)registered;
}

}  // namespace

void MachinePortBus::Cli() {
  RegisterPortFixup();
  kelvox_port_cli();
}

void MachinePortBus::Sti() {
  RegisterPortFixup();
  kelvox_port_sti();
}

void MachinePortBus::Out32(uint16_t port, uint32_t value) {
  RegisterPortFixup();
  kelvox_port_out32(port, value);
}

uint32_t MachinePortBus::In32(uint16_t port) {
  RegisterPortFixup();
  return kelvox_port_in32(port);
}

const void* MachinePortBus::CliInstruction() {
  return reinterpret_cast<const void*>(&kelvox_port_cli);
}

bool MachinePortBus::IsPortInstructionCode(const void* address) {
  const auto at = reinterpret_cast<uintptr_t>(address);
  return at >= reinterpret_cast<uintptr_t>(&kelvox_port_code_begin) &&
         at < reinterpret_cast<uintptr_t>(&kelvox_port_code_end);
}

PortBus& MachinePorts() {
  static MachinePortBus ports;
  return ports;
}

}  // namespace kelvox

#endif  // _WIN32

// Windows: code whose processor faults are recovered at a fix-up address, in the manner of an
// operating-system kernel's exception table.
//
// The fault translator's vectored exception handler looks a fault's address up among the
// registered ranges while a RunTranslatingFaults call is in flight on the faulting thread. On a
// match it records the exception code and the faulting instruction's address, moves the
// instruction pointer to the range's fix-up address and lets execution continue there. The
// fix-up jumps to ThrowRecordedFault, which throws the typed exception (exceptions.h) from
// ordinary code, so C++ unwinding never starts inside the exception dispatch.
//
// A fix-up is entered with the stack exactly as it was at the faulting instruction, so the
// ranges must hold only leaf code that has not touched the stack since it was called: then the
// fix-up's jump to ThrowRecordedFault is a tail call, and the unwinder finds the return
// address of the caller of that leaf code on top of the stack.
#pragma once

#ifdef _WIN32

#include <cstdint>

namespace kelvox {

// Faults of instructions in [begin, end) are recovered at `fixup`. Registering the same range
// again changes nothing. At most a handful of ranges exist in a process.
void RegisterFaultFixup(const void* begin, const void* end, const void* fixup);

// The fault recorded on this thread, as the handler saw it.
struct RecordedFault {
  uint32_t code = 0;
  const void* address = nullptr;
};
RecordedFault LastRecordedFault();

}  // namespace kelvox

// The target of every fix-up: throws the structured exception that matches the fault recorded
// on this thread.
extern "C" [[noreturn]] void kelvox_throw_recorded_fault();

#endif  // _WIN32

// The fault translator: runs a piece of code with the processor's fault signals caught, and
// turns a fault into the typed exception of exceptions.h (privileged instruction, access
// violation, divide by zero, or the unspecified base class).
//
// On Linux a fault arrives as a signal. A C++ exception cannot be thrown from a signal handler
// through the port instructions' assembly, so the handler only records the fault and jumps
// back (siglongjmp) to the frame that started the code; that frame then throws in ordinary
// code. The handlers are installed for the span of one call and the actions that were there
// before are put back afterwards, so the rest of the program's signal handling is undisturbed.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>

namespace kelvox {

// Windows exception code for a fault signal with its si_code: SIGSEGV from the kernel itself
// (SI_KERNEL, what a privileged instruction raises) is a privileged instruction, any other
// SIGSEGV and SIGBUS an access violation, SIGFPE integer or floating-point division by zero a
// divide by zero, SIGILL ILL_PRVOPC a privileged instruction; the rest get the nearest other
// Windows code, which no typed class claims.
uint32_t ExceptionCodeForSignal(int signal, int si_code);

// Runs body(context). If it raises SIGSEGV, SIGBUS, SIGFPE or SIGILL on this thread, the run is
// abandoned at the faulting instruction and the matching structured_exception is thrown,
// recording that instruction's address. The floating-point environment is put back as it was
// before the call on that path. `body` must hold no object with a destructor at the moment it
// may fault (its frames are discarded, not unwound). C++ exceptions from `body` pass through.
// Meant for one thread at a time; a fault on another thread while a call is in flight is handed
// to the action that was installed before.
void RunTranslatingFaults(void (*body)(void*), void* context);

// The same for any callable.
template <typename Body>
void RunTranslatingFaults(Body&& body) {
  using Callable = std::remove_reference_t<Body>;
  RunTranslatingFaults([](void* c) { (*static_cast<Callable*>(c))(); },
                       const_cast<void*>(static_cast<const void*>(std::addressof(body))));
}

}  // namespace kelvox

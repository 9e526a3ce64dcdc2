#include "config/port/fault_translator.h"

#include <cfenv>
#include <csetjmp>
#include <csignal>
#include <mutex>

#include "config/port/exceptions.h"

#if defined(__linux__)
#include <ucontext.h>
#endif

namespace kelvox {

uint32_t ExceptionCodeForSignal(int signal, int si_code) {
  switch (signal) {
    case SIGSEGV:
#if defined(SI_KERNEL)
      // The general-protection fault of an instruction the process may not execute.
      if (si_code == SI_KERNEL) return kExceptionPrivInstruction;
#endif
      return kExceptionAccessViolation;
    case SIGBUS:
      return kExceptionAccessViolation;
    case SIGFPE:
      switch (si_code) {
        case FPE_INTDIV:
          return kExceptionIntDivideByZero;
        case FPE_FLTDIV:
          return kExceptionFltDivideByZero;
        case FPE_INTOVF:
          return kExceptionIntOverflow;
        case FPE_FLTOVF:
          return kExceptionFltOverflow;
        case FPE_FLTUND:
          return kExceptionFltUnderflow;
        case FPE_FLTRES:
          return kExceptionFltInexactResult;
        default:
          return kExceptionFltInvalidOperation;
      }
    case SIGILL:
      return si_code == ILL_PRVOPC ? kExceptionPrivInstruction : kExceptionIllegalInstruction;
    default:
      return kExceptionIllegalInstruction;
  }
}

namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr int kSignalCount = sizeof(kFaultSignals) / sizeof(kFaultSignals[0]);

// One RunTranslatingFaults call in flight on this thread: where to jump back to, and what the
// handler saw.
struct Guard {
  sigjmp_buf jump;
  volatile int signal = 0;
  volatile int si_code = 0;
  const void* volatile address = nullptr;
};

thread_local Guard* t_guard = nullptr;

// The actions that were installed before ours, kept while any call is in flight.
std::mutex g_install_mutex;
int g_install_depth = 0;
struct sigaction g_previous[kSignalCount];

const void* FaultingInstruction(void* context) {
#if defined(__linux__) && defined(__x86_64__)
  return reinterpret_cast<const void*>(
      static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_RIP]);
#elif defined(__linux__) && defined(__i386__)
  return reinterpret_cast<const void*>(
      static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_EIP]);
#elif defined(__linux__) && defined(__aarch64__)
  return reinterpret_cast<const void*>(static_cast<ucontext_t*>(context)->uc_mcontext.pc);
#else
  (void)context;
  return nullptr;
#endif
}

int SignalIndex(int signal) {
  for (int i = 0; i < kSignalCount; ++i) {
    if (kFaultSignals[i] == signal) return i;
  }
  return -1;
}

// A fault on a thread with no call in flight is not ours: put the earlier action back and let
// it see the signal. A fault from an instruction simply happens again on return; a signal sent
// by someone (si_code <= 0) is sent again.
void PassOn(int signal, siginfo_t* info) {
  const int i = SignalIndex(signal);
  if (i < 0) return;
  sigaction(signal, &g_previous[i], nullptr);
  if (info->si_code <= 0) raise(signal);
}

void OnFault(int signal, siginfo_t* info, void* context) {
  Guard* guard = t_guard;
  if (guard == nullptr) {
    PassOn(signal, info);
    return;
  }
  guard->signal = signal;
  guard->si_code = info->si_code;
  guard->address = FaultingInstruction(context);
  siglongjmp(guard->jump, 1);
}

// Installs the handlers for the outermost call and puts the earlier actions back when the
// outermost call ends.
class HandlerInstallation {
 public:
  HandlerInstallation() {
    std::lock_guard<std::mutex> lock(g_install_mutex);
    if (g_install_depth++ > 0) return;
    struct sigaction action = {};
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) sigaction(kFaultSignals[i], &action, &g_previous[i]);
  }
  ~HandlerInstallation() {
    std::lock_guard<std::mutex> lock(g_install_mutex);
    if (--g_install_depth > 0) return;
    for (int i = 0; i < kSignalCount; ++i) sigaction(kFaultSignals[i], &g_previous[i], nullptr);
  }
  HandlerInstallation(const HandlerInstallation&) = delete;
  HandlerInstallation& operator=(const HandlerInstallation&) = delete;
};

// Runs the body with `guard` as this thread's jump target; true when it finished, false when a
// fault brought control back here. Kept apart so that nothing of the caller lives in the frame
// that sigsetjmp returns to twice.
bool RunGuarded(Guard& guard, void (*body)(void*), void* context) {
  Guard* const outer = t_guard;
  // Saves the signal mask too, so the jump back unblocks the signal the handler ran under.
  if (sigsetjmp(guard.jump, 1) != 0) {
    t_guard = outer;
    return false;
  }
  t_guard = &guard;
  try {
    body(context);
  } catch (...) {
    t_guard = outer;
    throw;
  }
  t_guard = outer;
  return true;
}

}  // namespace

void RunTranslatingFaults(void (*body)(void*), void* context) {
  Guard guard;
  fenv_t environment;
  fegetenv(&environment);
  HandlerInstallation installation;
  if (RunGuarded(guard, body, context)) return;
  // The handler ran with a fresh floating-point state and nothing restored it on the way back.
  fesetenv(&environment);
  ThrowStructuredException(ExceptionCodeForSignal(guard.signal, guard.si_code), guard.address);
}

}  // namespace kelvox

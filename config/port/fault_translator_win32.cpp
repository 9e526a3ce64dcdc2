// Windows implementation of the fault translator (fault_translator.h): a vectored exception
// handler recovers faults of registered code at its fix-up (fault_fixup_win32.h), and the
// fix-up throws the typed exception in ordinary code.
#ifdef _WIN32

#include <windows.h>

#include <array>
#include <atomic>
#include <mutex>

#include "config/port/exceptions.h"
#include "config/port/fault_fixup_win32.h"
#include "config/port/fault_translator.h"

namespace kelvox {

namespace {

struct FixupRange {
  std::atomic<uintptr_t> begin{0};
  std::atomic<uintptr_t> end{0};
  std::atomic<uintptr_t> fixup{0};
};

// Written under the mutex, read lock-free by the handler: a range becomes visible only once its
// `end` is stored, and ranges are never removed.
std::array<FixupRange, 8> g_ranges;
std::atomic<size_t> g_range_count{0};
std::mutex g_register_mutex;

// How many RunTranslatingFaults calls are in flight on this thread, and the last fault
// recovered on it. One object, so the handler never meets a thread variable that the run has
// not touched first.
struct ThreadState {
  int run_depth = 0;
  RecordedFault fault;
};
thread_local ThreadState t_state;

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  // Only faults the processor raised; software exceptions (C++ throws among them) pass by.
  // The code and the address are checked before the thread's state is touched, so a fault
  // anywhere else (inside the heap, say) never reaches the thread-variable machinery.
  if ((record->ExceptionCode & 0xF0000000u) != 0xC0000000u) return EXCEPTION_CONTINUE_SEARCH;
  const auto at = reinterpret_cast<uintptr_t>(record->ExceptionAddress);
  const size_t count = g_range_count.load(std::memory_order_acquire);
  for (size_t i = 0; i < count; ++i) {
    const FixupRange& range = g_ranges[i];
    if (at < range.begin.load(std::memory_order_relaxed) ||
        at >= range.end.load(std::memory_order_relaxed)) {
      continue;
    }
    if (t_state.run_depth == 0) return EXCEPTION_CONTINUE_SEARCH;
    t_state.fault = {static_cast<uint32_t>(record->ExceptionCode), record->ExceptionAddress};
#if defined(_M_X64) || defined(__x86_64__)
    info->ContextRecord->Rip = range.fixup.load(std::memory_order_relaxed);
#else
    info->ContextRecord->Eip = range.fixup.load(std::memory_order_relaxed);
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

// Installs the handler once per process, ahead of any other, for the life of the process.
void InstallHandler() {
  static const PVOID handler = AddVectoredExceptionHandler(1, OnException);
  (void)handler;
}

}  // namespace

void RegisterFaultFixup(const void* begin, const void* end, const void* fixup) {
  std::lock_guard<std::mutex> lock(g_register_mutex);
  const size_t count = g_range_count.load(std::memory_order_relaxed);
  for (size_t i = 0; i < count; ++i) {
    if (g_ranges[i].begin == reinterpret_cast<uintptr_t>(begin)) return;
  }
  if (count == g_ranges.size()) return;
  g_ranges[count].begin = reinterpret_cast<uintptr_t>(begin);
  g_ranges[count].end = reinterpret_cast<uintptr_t>(end);
  g_ranges[count].fixup = reinterpret_cast<uintptr_t>(fixup);
  g_range_count.store(count + 1, std::memory_order_release);
}

RecordedFault LastRecordedFault() { return t_state.fault; }

void RunTranslatingFaults(void (*body)(void*), void* context) {
  InstallHandler();
  ++t_state.run_depth;
  try {
    body(context);
  } catch (...) {
    --t_state.run_depth;
    throw;
  }
  --t_state.run_depth;
}

}  // namespace kelvox

extern "C" void kelvox_throw_recorded_fault() {
  const kelvox::RecordedFault fault = kelvox::LastRecordedFault();
  kelvox::ThrowStructuredException(fault.code, fault.address);
}

#endif  // _WIN32

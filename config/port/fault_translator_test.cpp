#include "config/port/fault_translator.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cfenv>
#include <csignal>
#include <stdexcept>
#include <thread>
#include <typeinfo>

#include "config/port/exceptions.h"
#include "config/port/port_bus.h"
#include "config/port/testing/thrown_fault.h"

namespace kelvox {
namespace {

using testing::RunAndCatch;
using testing::Thrown;

// Sends this thread a fault signal carrying the given si_code, as the kernel would.
void SendFault(int signal, int si_code) {
  siginfo_t info = {};
  info.si_signo = signal;
  info.si_code = si_code;
  syscall(SYS_rt_tgsigqueueinfo, getpid(), gettid(), signal, &info);
}

TEST(ThrowStructuredException, ThrowsTheClassOfEachCode) {
  const int marker = 0;
  const struct {
    uint32_t code;
    const std::type_info& type;
    const char* what;
  } cases[] = {
      {kExceptionAccessViolation, typeid(access_violation), "access violation"},
      {kExceptionIntDivideByZero, typeid(divide_by_zero), "divide by zero"},
      {kExceptionFltDivideByZero, typeid(divide_by_zero), "divide by zero"},
      {kExceptionPrivInstruction, typeid(priv_instruction), "privilege instruction"},
      {kExceptionIllegalInstruction, typeid(structured_exception),
       "unspecified Structured Exception"},
  };
  for (const auto& c : cases) {
    try {
      ThrowStructuredException(c.code, &marker);
      ADD_FAILURE() << "nothing thrown for " << std::hex << c.code;
    } catch (const std::exception& e) {
      EXPECT_TRUE(typeid(e) == c.type) << std::hex << c.code;
      EXPECT_STREQ(e.what(), c.what);
      EXPECT_EQ(dynamic_cast<const structured_exception&>(e).address(), &marker);
    }
  }
}

// Where the instruction that the next helper executes sits, written just before it runs.
const void* g_fault_site = nullptr;

#if defined(__x86_64__)

TEST(RunTranslatingFaults, CliInUserModeIsAPrivilegedInstruction) {
  const Thrown t = RunAndCatch([] { MachinePorts().Cli(); });
  if (t.type == nullptr) {
    MachinePorts().Sti();
    GTEST_SKIP() << "this system lets a user process execute cli";
  }
  EXPECT_TRUE(*t.type == typeid(priv_instruction));
  EXPECT_EQ(t.what, "privilege instruction");
  EXPECT_EQ(t.address, MachinePortBus::CliInstruction());
  EXPECT_TRUE(MachinePortBus::IsPortInstructionCode(t.address));
}

TEST(RunTranslatingFaults, PortInputInUserModeFaultsInsideThePortCode) {
  const Thrown t = RunAndCatch([] { (void)MachinePorts().In32(0xCFC); });
  if (t.type == nullptr) GTEST_SKIP() << "this system lets a user process read port 0xCFC";
  EXPECT_TRUE(*t.type == typeid(priv_instruction));
  EXPECT_TRUE(MachinePortBus::IsPortInstructionCode(t.address));
  EXPECT_NE(t.address, MachinePortBus::CliInstruction());
}

TEST(RunTranslatingFaults, IntegerDivisionByZeroIsDivideByZero) {
  const Thrown t = RunAndCatch([] {
    uint32_t quotient = 1;
    uint32_t zero = 0;
    asm volatile(
        "leaq 1f(%%rip), %%rcx\n\t"
        "movq %%rcx, %[site]\n\t"
        "xorl %%edx, %%edx\n"
        "1:\tdivl %[divisor]"
        : "+a"(quotient), [site] "=m"(g_fault_site)
        : [divisor] "r"(zero)
        : "rcx", "rdx", "cc", "memory");
  });
  ASSERT_NE(t.type, nullptr);
  EXPECT_TRUE(*t.type == typeid(divide_by_zero));
  EXPECT_EQ(t.address, g_fault_site);
}

TEST(RunTranslatingFaults, UndefinedInstructionIsUnspecified) {
  const Thrown t = RunAndCatch([] {
    asm volatile(
        "leaq 1f(%%rip), %%rcx\n\t"
        "movq %%rcx, %[site]\n"
        "1:\tud2"
        : [site] "=m"(g_fault_site)
        :
        : "rcx", "memory");
  });
  ASSERT_NE(t.type, nullptr);
  EXPECT_TRUE(*t.type == typeid(structured_exception));
  EXPECT_EQ(t.what, "unspecified Structured Exception");
  EXPECT_EQ(t.address, g_fault_site);
}

TEST(RunTranslatingFaults, FloatingPointDivisionByZeroTrapIsDivideByZero) {
  ASSERT_EQ(fegetexcept(), 0);
  const Thrown t = RunAndCatch([] {
    volatile double numerator = 1.0;
    volatile double zero = 0.0;
    feenableexcept(FE_DIVBYZERO);
    volatile double quotient = numerator / zero;
    (void)quotient;
  });
  ASSERT_NE(t.type, nullptr);
  EXPECT_TRUE(*t.type == typeid(divide_by_zero));
  EXPECT_NE(t.address, nullptr);
  // The trap enabled inside the run is gone again: the environment from before is back.
  EXPECT_EQ(fegetexcept(), 0);
}

#endif  // __x86_64__

TEST(RunTranslatingFaults, ProtectedPageIsAccessViolation) {
  void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(page, MAP_FAILED);
  const Thrown t = RunAndCatch([page] { (void)*static_cast<volatile int*>(page); });
  munmap(page, 4096);
  ASSERT_NE(t.type, nullptr);
  EXPECT_TRUE(*t.type == typeid(access_violation));
  EXPECT_STREQ(t.what.c_str(), "access violation");
}

TEST(RunTranslatingFaults, MappingPastTheEndOfAFileIsAccessViolation) {
  const int fd = memfd_create("kelvox-fault-test", 0);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, 4096), 0);
  void* page = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0);
  ASSERT_NE(page, MAP_FAILED);
  ASSERT_EQ(ftruncate(fd, 0), 0);  // the mapped page now lies past the end: SIGBUS
  const Thrown t = RunAndCatch([page] { (void)*static_cast<volatile int*>(page); });
  munmap(page, 4096);
  close(fd);
  ASSERT_NE(t.type, nullptr);
  EXPECT_TRUE(*t.type == typeid(access_violation));
}

TEST(RunTranslatingFaults, ReadsTheKernelsCodeOfEachSignal) {
  const struct {
    int signal;
    int si_code;
    const std::type_info& type;
  } cases[] = {
      {SIGILL, ILL_PRVOPC, typeid(priv_instruction)},
      {SIGILL, ILL_ILLOPC, typeid(structured_exception)},
      {SIGFPE, FPE_FLTDIV, typeid(divide_by_zero)},
      {SIGFPE, FPE_INTDIV, typeid(divide_by_zero)},
      {SIGFPE, FPE_FLTOVF, typeid(structured_exception)},
      {SIGSEGV, SEGV_MAPERR, typeid(access_violation)},
      {SIGSEGV, SI_KERNEL, typeid(priv_instruction)},
      {SIGBUS, BUS_ADRERR, typeid(access_violation)},
  };
  for (const auto& c : cases) {
    const Thrown t = RunAndCatch([&c] { SendFault(c.signal, c.si_code); });
    ASSERT_NE(t.type, nullptr) << c.signal << "/" << c.si_code;
    EXPECT_TRUE(*t.type == c.type) << c.signal << "/" << c.si_code << ": " << t.what;
  }
}

TEST(RunTranslatingFaults, LetsCppExceptionsThroughAndReturnsNormally) {
  int ran = 0;
  EXPECT_NO_THROW(RunTranslatingFaults([&ran] { ++ran; }));
  EXPECT_EQ(ran, 1);
  EXPECT_THROW(RunTranslatingFaults([] { throw std::runtime_error("mine"); }), std::runtime_error);
  // The guard of the run that threw is gone: a fault now goes to a fresh run as usual.
  EXPECT_TRUE(RunAndCatch([] { raise(SIGSEGV); }).type != nullptr);
}

TEST(RunTranslatingFaults, NestedRunsRecoverAtTheInnermost) {
  bool outer_went_on = false;
  const Thrown outer = RunAndCatch([&outer_went_on] {
    const Thrown inner = RunAndCatch([] { raise(SIGBUS); });
    outer_went_on = inner.type != nullptr && *inner.type == typeid(access_violation);
  });
  EXPECT_TRUE(outer_went_on);
  EXPECT_EQ(outer.type, nullptr);
}

// A handler the program installed for itself, counting what reaches it.
std::atomic<int> g_program_handler_calls{0};
void ProgramHandler(int) { ++g_program_handler_calls; }

class ProgramHandlers : public ::testing::Test {
 protected:
  static constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
  void SetUp() override {
    g_program_handler_calls = 0;
    struct sigaction action = {};
    action.sa_handler = ProgramHandler;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 4; ++i) sigaction(kSignals[i], &action, &saved_[i]);
  }
  void TearDown() override {
    for (int i = 0; i < 4; ++i) sigaction(kSignals[i], &saved_[i], nullptr);
  }
  static bool ProgramHandlerInstalled(int signal) {
    struct sigaction now = {};
    sigaction(signal, nullptr, &now);
    return (now.sa_flags & SA_SIGINFO) == 0 && now.sa_handler == ProgramHandler;
  }

 private:
  struct sigaction saved_[4];
};

TEST_F(ProgramHandlers, AreBackAfterEveryRun) {
  (void)RunAndCatch([] { raise(SIGSEGV); });
  (void)RunAndCatch([] {});
  EXPECT_THROW(RunTranslatingFaults([] { throw std::logic_error("x"); }), std::logic_error);
  for (int signal : kSignals) EXPECT_TRUE(ProgramHandlerInstalled(signal)) << signal;
  EXPECT_EQ(g_program_handler_calls, 0);
  raise(SIGFPE);
  raise(SIGILL);
  EXPECT_EQ(g_program_handler_calls, 2);
}

TEST_F(ProgramHandlers, SeeFaultsOfOtherThreadsDuringARun) {
  (void)RunAndCatch([] { std::thread([] { raise(SIGILL); }).join(); });
  EXPECT_EQ(g_program_handler_calls, 1);
  EXPECT_TRUE(ProgramHandlerInstalled(SIGILL));
}

TEST(RunTranslatingFaults, RepeatedFaultsLeaveNoSignalBlocked) {
  for (int i = 0; i < 500; ++i) {
    ASSERT_TRUE(RunAndCatch([] { raise(SIGSEGV); }).type != nullptr) << i;
  }
  sigset_t blocked;
  sigprocmask(SIG_BLOCK, nullptr, &blocked);
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
    EXPECT_FALSE(sigismember(&blocked, signal)) << signal;
  }
}

}  // namespace
}  // namespace kelvox

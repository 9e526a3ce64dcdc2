// Real processor faults under Windows (or Wine): the port instructions that a user-mode
// program may not execute, and faults of every kind raised inside a registered fix-up range.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include "config/access.h"
#include "config/port/address.h"
#include "config/port/exceptions.h"
#include "config/port/fault_fixup_win32.h"
#include "config/port/fault_translator.h"
#include "config/port/port_bus.h"
#include "config/port/port_io_access.h"
#include "config/port/testing/thrown_fault.h"

// Leaf functions that fault on purpose, each at a labelled instruction, with a fix-up of
// their own (the same shape as the port code).
extern "C" {
void kelvox_test_faults_begin();
void kelvox_test_divide_by_zero();
void kelvox_test_read_null();
void kelvox_test_undefined_instruction();
void kelvox_test_faults_end();
void kelvox_test_fixup();
extern const char kelvox_test_divide_site[];
extern const char kelvox_test_read_site[];
extern const char kelvox_test_undefined_site[];
}

// clang-format off
asm(".text\n"
    "  .p2align 4\n"
    "  .globl kelvox_test_faults_begin\nkelvox_test_faults_begin:\n"
    "  .globl kelvox_test_divide_by_zero\nkelvox_test_divide_by_zero:\n"
    "  xorl %edx, %edx\n"
    "  movl $1, %eax\n"
    "  xorl %ecx, %ecx\n"
    "  .globl kelvox_test_divide_site\nkelvox_test_divide_site:\n"
    "  divl %ecx\n"
    "  ret\n"
    "  .globl kelvox_test_read_null\nkelvox_test_read_null:\n"
    "  xorl %eax, %eax\n"
    "  .globl kelvox_test_read_site\nkelvox_test_read_site:\n"
    "  movl (%rax), %eax\n"
    "  ret\n"
    "  .globl kelvox_test_undefined_instruction\nkelvox_test_undefined_instruction:\n"
    "  .globl kelvox_test_undefined_site\nkelvox_test_undefined_site:\n"
    "  ud2\n"
    "  ret\n"
    "  .globl kelvox_test_faults_end\nkelvox_test_faults_end:\n"
    "  ret\n"
    "  .globl kelvox_test_fixup\nkelvox_test_fixup:\n"
    "  jmp kelvox_throw_recorded_fault\n");
// clang-format on

namespace kelvox {
namespace {

using testing::RunAndCatch;
using testing::Thrown;

class FaultFixups : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterFaultFixup(reinterpret_cast<const void*>(&kelvox_test_faults_begin),
                       reinterpret_cast<const void*>(&kelvox_test_faults_end),
                       reinterpret_cast<const void*>(&kelvox_test_fixup));
  }
};

TEST_F(FaultFixups, EachFaultThrowsItsClassWithTheFaultingAddress) {
  const struct {
    void (*body)();
    const void* site;
    uint32_t code;
    const std::type_info& type;
    const char* what;
  } cases[] = {
      {kelvox_test_divide_by_zero, kelvox_test_divide_site, kExceptionIntDivideByZero,
       typeid(divide_by_zero), "divide by zero"},
      {kelvox_test_read_null, kelvox_test_read_site, kExceptionAccessViolation,
       typeid(access_violation), "access violation"},
      {kelvox_test_undefined_instruction, kelvox_test_undefined_site, kExceptionIllegalInstruction,
       typeid(structured_exception), "unspecified Structured Exception"},
  };
  for (const auto& c : cases) {
    const Thrown t = RunAndCatch([&c] { c.body(); });
    ASSERT_NE(t.type, nullptr) << c.what;
    EXPECT_TRUE(*t.type == c.type) << c.what << ": " << t.what;
    EXPECT_EQ(t.what, c.what);
    EXPECT_EQ(t.address, c.site) << c.what;
    EXPECT_EQ(LastRecordedFault().code, c.code) << c.what;
  }
}

TEST_F(FaultFixups, CodeAfterTheFaultDoesNotRun) {
  bool went_on = false;
  const Thrown t = RunAndCatch([&went_on] {
    kelvox_test_divide_by_zero();
    went_on = true;
  });
  EXPECT_NE(t.type, nullptr);
  EXPECT_FALSE(went_on);
}

TEST_F(FaultFixups, RepeatedFaultsAndCppExceptionsKeepWorking) {
  for (int i = 0; i < 300; ++i) {
    ASSERT_TRUE(RunAndCatch([] { kelvox_test_read_null(); }).type != nullptr) << i;
  }
  int ran = 0;
  EXPECT_NO_THROW(RunTranslatingFaults([&ran] { ++ran; }));
  EXPECT_EQ(ran, 1);
  EXPECT_THROW(RunTranslatingFaults([] { throw std::runtime_error("mine"); }), std::runtime_error);
  EXPECT_TRUE(RunAndCatch([] { kelvox_test_undefined_instruction(); }).type != nullptr);
}

TEST_F(FaultFixups, NestedRunsRecoverAtTheInnermost) {
  bool outer_went_on = false;
  const Thrown outer = RunAndCatch([&outer_went_on] {
    const Thrown inner = RunAndCatch([] { kelvox_test_read_null(); });
    outer_went_on = inner.type != nullptr && *inner.type == typeid(access_violation);
  });
  EXPECT_TRUE(outer_went_on);
  EXPECT_EQ(outer.type, nullptr);
}

TEST_F(FaultFixups, ThreadsRecoverTheirOwnFaults) {
  std::atomic<int> recovered{0};
  std::vector<std::thread> threads;
  for (int n = 0; n < 4; ++n) {
    threads.emplace_back([&recovered, n] {
      for (int i = 0; i < 100; ++i) {
        const Thrown t = n % 2 == 0 ? RunAndCatch([] { kelvox_test_divide_by_zero(); })
                                    : RunAndCatch([] { kelvox_test_read_null(); });
        const std::type_info& expected =
            n % 2 == 0 ? typeid(divide_by_zero) : typeid(access_violation);
        if (t.type != nullptr && *t.type == expected) ++recovered;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(recovered, 400);
}

// The operating system's answer to the port instructions of a user-mode program: every
// NT-family system refuses them.
TEST(MachinePorts, CliIsAPrivilegedInstructionAtItsOwnAddress) {
  const Thrown t = RunAndCatch([] { MachinePorts().Cli(); });
  if (t.type == nullptr) {
    MachinePorts().Sti();
    GTEST_SKIP() << "this system lets a user process execute cli";
  }
  EXPECT_TRUE(*t.type == typeid(priv_instruction));
  EXPECT_EQ(t.what, "privilege instruction");
  EXPECT_EQ(t.address, MachinePortBus::CliInstruction());
  EXPECT_EQ(LastRecordedFault().code, kExceptionPrivInstruction);
}

TEST(MachinePorts, PortInputAndOutputFaultInsideThePortCode) {
  const Thrown in = RunAndCatch([] { (void)MachinePorts().In32(kConfigDataPort); });
  const Thrown out = RunAndCatch([] { MachinePorts().Out32(kConfigAddressPort, 0); });
  if (in.type == nullptr) GTEST_SKIP() << "this system lets a user process use port 0xCFC";
  EXPECT_TRUE(*in.type == typeid(priv_instruction));
  EXPECT_TRUE(MachinePortBus::IsPortInstructionCode(in.address));
  EXPECT_NE(in.address, MachinePortBus::CliInstruction());
  ASSERT_NE(out.type, nullptr);
  EXPECT_TRUE(*out.type == typeid(priv_instruction));
  EXPECT_TRUE(MachinePortBus::IsPortInstructionCode(out.address));
  EXPECT_NE(out.address, in.address);
}

TEST(PortIoAccess, EveryRegisterReadsAllOnesWhereThePortsAreRefused) {
  PortIoAccess access;
  if (RunAndCatch([] { MachinePorts().Cli(); }).type == nullptr) {
    MachinePorts().Sti();
    GTEST_SKIP() << "this system lets a user process execute cli";
  }
  for (int device = 0; device < 32; ++device) {
    for (int reg : {0x00, 0x04, 0x08, 0x0C}) {
      ASSERT_EQ(access.Read(0, device, 0, reg), kAllOnes) << device << "/" << reg;
    }
  }
  access.Write(0, 3, 0, 0x10, 0xFFFFFFFFu);  // silent
  EXPECT_EQ(access.Read(0, 3, 0, 0x10), kAllOnes);
}

TEST(DefaultAccess, IsTheDeviceManagerOnWindows) {
  const std::unique_ptr<ConfigAccess> access = MakeDefaultAccess();
  ASSERT_NE(access, nullptr);
  EXPECT_EQ(access->Name(), "cfgmgr");
}

}  // namespace
}  // namespace kelvox

#endif  // _WIN32

#include "config/port/port_io_access.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ostream>
#include <vector>

#include "config/capture/simulated_bus.h"
#include "config/port/address.h"

namespace kelvox {
namespace {

struct PortEvent {
  enum Kind { kCli, kSti, kOut, kIn } kind;
  uint16_t port = 0;
  uint32_t value = 0;
  bool operator==(const PortEvent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const PortEvent& e) {
  static const char* const kNames[] = {"cli", "sti", "out", "in"};
  return out << kNames[e.kind] << " " << std::hex << e.port << " " << e.value;
}

PortEvent Cli() { return {PortEvent::kCli}; }
PortEvent Sti() { return {PortEvent::kSti}; }
PortEvent Out(uint16_t port, uint32_t value) { return {PortEvent::kOut, port, value}; }
PortEvent In(uint16_t port, uint32_t value) { return {PortEvent::kIn, port, value}; }

// A host bridge of configuration mechanism #1 in front of a simulated bus: it latches the
// address written to 0xCF8 and moves the selected register through 0xCFC. It records every
// instruction and can raise a real fault signal at a chosen one.
class FakeHostBridge : public PortBus {
 public:
  explicit FakeHostBridge(SimulatedBus& bus) : bus_(bus) {}

  void Cli() override {
    Step({PortEvent::kCli});
    interrupts_enabled_ = false;
  }
  void Sti() override {
    Step({PortEvent::kSti});
    interrupts_enabled_ = true;
  }
  void Out32(uint16_t port, uint32_t value) override {
    Step({PortEvent::kOut, port, value});
    EXPECT_FALSE(interrupts_enabled_) << "port output with interrupts enabled";
    if (port == kConfigAddressPort) {
      address_ = value;
    } else if (port == kConfigDataPort && (address_ & kConfigEnableBit) != 0) {
      bus_.Write(Bus(), Device(), Function(), Register(), value);
    }
  }
  uint32_t In32(uint16_t port) override {
    uint32_t value = kAllOnes;
    if (port == kConfigAddressPort) {
      value = address_;
    } else if (port == kConfigDataPort && (address_ & kConfigEnableBit) != 0) {
      value = bus_.Read(Bus(), Device(), Function(), Register());
    }
    Step({PortEvent::kIn, port, value});
    EXPECT_FALSE(interrupts_enabled_) << "port input with interrupts enabled";
    return value;
  }

  // Raises `signal` at the n-th instruction (counting from 0) from now on.
  void FaultAt(size_t n, int signal) {
    fault_at_ = events_.size() + n;
    fault_signal_ = signal;
  }

  const std::vector<PortEvent>& events() const { return events_; }
  void ClearEvents() { events_.clear(); }
  uint32_t address_port() const { return address_; }
  bool interrupts_enabled() const { return interrupts_enabled_; }

 private:
  void Step(PortEvent e) {
    events_.push_back(e);
    if (events_.size() - 1 == fault_at_) raise(fault_signal_);
  }
  int Bus() const { return (address_ >> 16) & 0xFF; }
  int Device() const { return (address_ >> 11) & 0x1F; }
  int Function() const { return (address_ >> 8) & 0x7; }
  int Register() const { return address_ & 0xFC; }

  SimulatedBus& bus_;
  std::vector<PortEvent> events_;
  uint32_t address_ = 0;
  bool interrupts_enabled_ = true;
  size_t fault_at_ = SIZE_MAX;
  int fault_signal_ = 0;
};

class PortIoAccessWithFakeBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    bus_.AddFunction({0, 0, 0});
    bus_.SetRegister({0, 0, 0}, 0x00, 0x12378086);
    bus_.SetRegister({0, 0, 0}, 0x3C, 0x000001FF);
    bus_.AddFunction({3, 4, 5});
    bus_.SetRegister({3, 4, 5}, 0x10, 0xE0000008);
    bus_.SetWritableMask({3, 4, 5}, 0x10, 0xFFF00000);
  }
  SimulatedBus bus_;
  FakeHostBridge bridge_{bus_};
  PortIoAccess access_{bridge_};
};

TEST_F(PortIoAccessWithFakeBridge, ReadRunsTheMechanismOneSequence) {
  EXPECT_EQ(access_.Read(3, 4, 5, 0x10), 0xE0000008u);
  const uint32_t address = ConfigAddress(3, 4, 5, 0x10);
  EXPECT_EQ(address, 0x80032510u);
  EXPECT_EQ(bridge_.events(),
            (std::vector<PortEvent>{Cli(), Out(0xCF8, address), In(0xCFC, 0xE0000008),
                                    Out(0xCF8, 0), Sti()}));
  EXPECT_EQ(bridge_.address_port(), 0u);
  EXPECT_TRUE(bridge_.interrupts_enabled());
}

TEST_F(PortIoAccessWithFakeBridge, WriteRunsTheSequenceAndTheDataReachesTheBridge) {
  access_.Write(3, 4, 5, 0x10, 0xFFFFFFFF);
  const uint32_t address = ConfigAddress(3, 4, 5, 0x10);
  EXPECT_EQ(bridge_.events(),
            (std::vector<PortEvent>{Cli(), Out(0xCF8, address), Out(0xCFC, 0xFFFFFFFF),
                                    Out(0xCF8, 0), Sti()}));
  EXPECT_EQ(bridge_.address_port(), 0u);
  EXPECT_TRUE(bridge_.interrupts_enabled());
  // Sizing through the bridge reads back the writable bits with the read-only type bits.
  EXPECT_EQ(access_.Read(3, 4, 5, 0x10), 0xFFF00008u);
  access_.Write(3, 4, 5, 0x10, 0xE0000008);
  EXPECT_EQ(access_.Read(3, 4, 5, 0x10), 0xE0000008u);
}

TEST_F(PortIoAccessWithFakeBridge, AddressPortIsClearedAfterEveryAccess) {
  for (int reg = 0; reg < 64; reg += 4) {
    (void)access_.Read(0, 0, 0, reg);
    ASSERT_EQ(bridge_.address_port(), 0u) << reg;
    access_.Write(0, 0, 0, reg, 0x5A5A5A5A);
    ASSERT_EQ(bridge_.address_port(), 0u) << reg;
  }
}

TEST_F(PortIoAccessWithFakeBridge, ArgumentsAreMaskedToTheirFields) {
  // Device 32 is device 0, function 8 is function 0, register 0x3F is the dword at 0x3C.
  EXPECT_EQ(access_.Read(0, 32, 8, 0x3F), 0x000001FFu);
  EXPECT_EQ(bridge_.events()[1], Out(0xCF8, 0x8000003Cu));
  bridge_.ClearEvents();
  EXPECT_EQ(access_.Read(0x100, 0, 0, 0), 0x12378086u);  // bus 256 is bus 0
  EXPECT_EQ(bridge_.events()[1], Out(0xCF8, 0x80000000u));
}

TEST_F(PortIoAccessWithFakeBridge, AbsentFunctionReadsAllOnes) {
  EXPECT_EQ(access_.Read(0, 31, 7, 0), kAllOnes);
  EXPECT_EQ(bridge_.events().size(), 5u);
  // An empty slot is no problem of the access.
  EXPECT_EQ(access_.ReadProblem(), "");
}

TEST_F(PortIoAccessWithFakeBridge, FaultAfterCliStillClearsTheAddressAndEnablesInterrupts) {
  bridge_.FaultAt(2, SIGBUS);  // at the data-port input
  EXPECT_EQ(access_.Read(3, 4, 5, 0x10), kAllOnes);
  const uint32_t address = ConfigAddress(3, 4, 5, 0x10);
  EXPECT_EQ(bridge_.events(),
            (std::vector<PortEvent>{Cli(), Out(0xCF8, address), In(0xCFC, 0xE0000008),
                                    Out(0xCF8, 0), Sti()}));
  EXPECT_TRUE(bridge_.interrupts_enabled());
  EXPECT_EQ(bridge_.address_port(), 0u);
}

TEST_F(PortIoAccessWithFakeBridge, FaultAtCliLeavesInterruptsAloneAndWriteIsSilent) {
  bridge_.FaultAt(0, SIGSEGV);
  access_.Write(3, 4, 5, 0x10, 0);
  // cli "faulted": nothing else is touched, and sti is not executed for a cli that failed.
  EXPECT_EQ(bridge_.events(), std::vector<PortEvent>{Cli()});
  EXPECT_EQ(bus_.Read(3, 4, 5, 0x10), 0xE0000008u);
  bridge_.ClearEvents();
  bridge_.FaultAt(2, SIGFPE);  // at the data-port output
  access_.Write(3, 4, 5, 0x10, 0);
  EXPECT_EQ(bridge_.events().back(), Sti());
  EXPECT_TRUE(bridge_.interrupts_enabled());
}

// Passes each instruction to the machine's own, recording which ones were attempted.
class RecordingMachinePorts : public PortBus {
 public:
  void Cli() override {
    attempted.push_back({PortEvent::kCli});
    MachinePorts().Cli();
  }
  void Sti() override {
    attempted.push_back({PortEvent::kSti});
    MachinePorts().Sti();
  }
  void Out32(uint16_t port, uint32_t value) override {
    attempted.push_back({PortEvent::kOut, port, value});
    MachinePorts().Out32(port, value);
  }
  uint32_t In32(uint16_t port) override {
    attempted.push_back({PortEvent::kIn, port, 0});
    return MachinePorts().In32(port);
  }
  std::vector<PortEvent> attempted;
};

TEST(PortIoAccessOnThisMachine, RefusedPortsReadAllOnesAndStopAtCli) {
  RecordingMachinePorts ports;
  PortIoAccess access(ports);
  const uint32_t value = access.Read(0, 0, 0, 0);
  if (ports.attempted.size() > 1) GTEST_SKIP() << "this system allows user-mode port I/O";
  EXPECT_EQ(value, kAllOnes);
  // cli faulted, so neither port was touched and there was no sti to execute.
  EXPECT_EQ(ports.attempted, std::vector<PortEvent>{Cli()});
  // It can say why, for the warning the commands print once.
  EXPECT_TRUE(
      access.ReadProblem().starts_with("port: this system does not let programs use the "
                                       "I/O ports (privilege instruction)"))
      << access.ReadProblem();
  ports.attempted.clear();
  access.Write(0, 0, 0, 0x10, 0xFFFFFFFF);
  EXPECT_EQ(ports.attempted, std::vector<PortEvent>{Cli()});

  // The machine's ports through the ordinary constructor, many times over: a whole bus.
  PortIoAccess machine;
  for (int round = 0; round < 3; ++round) {
    for (int device = 0; device < 32; ++device) {
      ASSERT_EQ(machine.Read(0, device, 0, 0), kAllOnes) << device;
    }
  }
}

}  // namespace
}  // namespace kelvox

#include "config/port/port_io_access.h"

#include "config/port/address.h"
#include "config/port/exceptions.h"
#include "config/port/fault_translator.h"
#include "config/space_limits.h"

namespace kelvox {

void ShortDelay(int count) {
  // Volatile, so the additions are really made and the loop takes its time.
  volatile int sum = 0;
  for (int i = 1; i < count; ++i) sum = sum + i;
}

namespace {

// How far one access got. The flags tell the fault path what to undo: a fault after `cli`
// must not leave interrupts disabled, and a fault after the address went out must not leave
// it in the address port.
struct PortSequence {
  PortBus* ports;
  uint32_t address;
  uint32_t data;
  volatile bool interrupts_disabled;
  volatile bool address_selected;
};

// The end of every access: clear the address port, then enable interrupts.
void Finish(PortSequence& s) {
  s.ports->Out32(kConfigAddressPort, 0);
  s.address_selected = false;
  ShortDelay(kPortDelayCount);
  s.ports->Sti();
  s.interrupts_disabled = false;
}

void Select(PortSequence& s) {
  s.ports->Cli();
  s.interrupts_disabled = true;
  s.ports->Out32(kConfigAddressPort, s.address);
  s.address_selected = true;
  ShortDelay(kPortDelayCount);
}

// After a fault: undo what the access had done, each step itself guarded, and swallow any
// further fault (there is nothing more to be done about it).
void Recover(PortSequence& s) {
  if (s.address_selected) {
    try {
      RunTranslatingFaults([&s] { s.ports->Out32(kConfigAddressPort, 0); });
    } catch (const structured_exception&) {
    }
  }
  if (s.interrupts_disabled) {
    try {
      RunTranslatingFaults([&s] { s.ports->Sti(); });
    } catch (const structured_exception&) {
    }
  }
}

}  // namespace

PortIoAccess::PortIoAccess() : ports_(MachinePorts()) {}

PortIoAccess::PortIoAccess(PortBus& ports) : ports_(ports) {}

FunctionSpace PortIoAccess::ReadSpace(FunctionLocation at, int start, int end) {
  if (at.domain != 0) return {};
  FunctionSpace space = ReadRegisters(*this, at, start, end, 256);
  if (space.bytes.empty() && !fault_.empty()) {
    space.limit = kPortForbiddenText;
  } else if (end > 256) {
    space.limit = kPortConventionalOnlyText;
  }
  return space;
}

std::string PortIoAccess::ReadProblem() const {
  if (fault_.empty()) return {};
  return "port: this system does not let programs use the I/O ports (" + fault_ +
         "), so every register reads all ones, as an empty slot does; on Linux use --source "
         "sysfs";
}

uint32_t PortIoAccess::Read(int bus, int device, int function, int reg) {
  PortSequence s{&ports_, ConfigAddress(bus, device, function, reg), 0, false, false};
  try {
    RunTranslatingFaults([&s] {
      Select(s);
      s.data = s.ports->In32(kConfigDataPort);
      ShortDelay(kPortDelayCount);
      Finish(s);
    });
    return s.data;
  } catch (const structured_exception& fault) {
    Recover(s);
    if (fault_.empty()) fault_ = fault.what();
    return kAllOnes;
  }
}

void PortIoAccess::Write(int bus, int device, int function, int reg, uint32_t value) {
  PortSequence s{&ports_, ConfigAddress(bus, device, function, reg), value, false, false};
  try {
    RunTranslatingFaults([&s] {
      Select(s);
      s.ports->Out32(kConfigDataPort, s.data);
      ShortDelay(kPortDelayCount);
      Finish(s);
    });
  } catch (const structured_exception&) {
    Recover(s);
  }
}

}  // namespace kelvox

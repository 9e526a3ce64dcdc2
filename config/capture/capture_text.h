// Simulated buses as text: the dump format of `lspci -x`, so a capture of a real machine loads
// into a SimulatedBus and can be viewed and tested anywhere.
//
// A device starts with a header line "BB:DD.F " or "DDDD:BB:DD.F " (a domain of 4 to 8 hex
// digits, as lspci writes every address once a machine has more than one domain) followed by
// any description; then come lines "NN: xx xx ..." giving bytes from offset NN (2 or 3 hex
// digits, at most 16 bytes of 2 hex digits each, in either case). An empty line ends a device,
// as in lspci's own reader; every other line is ignored, so plain `lspci -x`, `-xxx` or
// `-vvxxx` output loads unchanged. Bytes up to offset 4096 are kept: the function's space is as
// large as the dump shows (64 bytes for lspci -x, 128 for a CardBus bridge's, 256 for -xxx,
// 4096 for -xxxx), and a byte it does not show within that is 0.
//
// A register's writable bits are given by a line of our own, inside the device's block:
//   # writable RR XXXXXXXX
// (RR the register offset in hex, a multiple of 4 below 0x100; XXXXXXXX the mask). lspci
// ignores such lines. A register without one is read-only. What the operating system knows of
// the device (config/function_facts.h) follows in lines of our own too, one per fact:
//   # fact NAME VALUE
// (NAME as the kernel's sysfs file calls it, VALUE the rest of the line; no value for "none").
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "config/capture/simulated_bus.h"
#include "config/function_facts.h"

namespace kelvox {

// The most functions a bus can hold: 256 buses of 32 devices of 8 functions.
inline constexpr size_t kMaxBusFunctions = 256 * 32 * 8;

// The longest text FormatSimulatedBus writes for one function: its header line
// "DDDDDDDD:BB:DD.F CCCC: VVVV:DDDD (rev RR)", the 256 lines of 16 bytes of a 4096-byte space
// (three digits of offset from 0x100), a mask line for each of its 64 registers, a line for
// each fact, and the blank line.
inline constexpr size_t kMaxFormattedFunctionBytes =
    kFactCount * (sizeof "# fact " + kLongestFactName + 1 + kMaxFactValueBytes) +
    sizeof "DDDDDDDD:BB:DD.F CCCC: VVVV:DDDD (rev RR)" +
    16 * sizeof "NN: xx xx xx xx xx xx xx xx xx xx xx xx xx xx xx xx" +
    240 * sizeof "NNN: xx xx xx xx xx xx xx xx xx xx xx xx xx xx xx xx" +
    64 * sizeof "# writable RR XXXXXXXX" + 1;

// The largest captured bus the program reads: what FormatSimulatedBus writes for a full bus of
// one domain with every function's 4096 bytes (about 1 GiB), so that every such capture it
// writes can be read back. Anything larger is not a capture.
inline constexpr size_t kMaxCaptureBytes = kMaxBusFunctions * kMaxFormattedFunctionBytes;

// Bad input: what() is "line N: what is wrong".
class SimulatedBusFileError : public std::runtime_error {
 public:
  SimulatedBusFileError(int line, const std::string& message);
  // The 1-based number of the offending line.
  int line() const { return line_; }

 private:
  int line_;
};

// The bus the text describes; throws SimulatedBusFileError at the first bad line, in which
// case nothing is loaded. Bad: a malformed byte or offset, bytes past offset 4096, more than
// 16 bytes on a line, a bad or repeated device address, a device over 31 or a function over
// 7, a domain that is not 4 to 8 hex digits or over kMaxDomain, a byte, mask or fact line before
// any device or after the empty line that ended one, a bad mask line, a fact value that is not
// one the kernel writes (a control character, a number that is not one or out of the fact's
// range: a negative irq or msi_irqs, numa_node below -1, a link width over 63), or a device
// without any byte (an offset with no bytes after it gives none). The message quotes at most 40
// bytes of the bad text, escaped, so it stays one short line whatever the file holds.
SimulatedBus ParseSimulatedBus(std::string_view text);

// The bus as text in the same format: per function a header "BB:DD.F CCCC: VVVV:DDDD (rev RR)"
// as `lspci -n` writes it ("DDDD:BB:DD.F ..." for every function once one is outside domain 0) (no
// revision when it is 0), every byte the function's space holds in lower-case lines of 16 (as
// lspci -x, -xxx and -xxxx: three digits of offset from 0x100), a mask line for every register
// with writable bits, a fact line for each fact, and a blank line.
std::string FormatSimulatedBus(const SimulatedBus& bus);

}  // namespace kelvox

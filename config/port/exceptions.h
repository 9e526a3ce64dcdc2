// Typed processor faults. The fault translator turns a fault raised by a port instruction into
// one of these; the access catches it and reports all ones, so no caller ever sees them.
#pragma once

#include <cstdint>
#include <exception>

namespace kelvox {

// Windows exception codes, which name the faults on every platform.
inline constexpr uint32_t kExceptionAccessViolation = 0xC0000005u;
inline constexpr uint32_t kExceptionFltDivideByZero = 0xC000008Eu;
inline constexpr uint32_t kExceptionIntDivideByZero = 0xC0000094u;
inline constexpr uint32_t kExceptionPrivInstruction = 0xC0000096u;
// Further codes a fault can carry; none has a class of its own, so each throws the base class.
inline constexpr uint32_t kExceptionIllegalInstruction = 0xC000001Du;
inline constexpr uint32_t kExceptionFltInexactResult = 0xC000008Fu;
inline constexpr uint32_t kExceptionFltInvalidOperation = 0xC0000090u;
inline constexpr uint32_t kExceptionFltOverflow = 0xC0000091u;
inline constexpr uint32_t kExceptionFltUnderflow = 0xC0000093u;
inline constexpr uint32_t kExceptionIntOverflow = 0xC0000095u;

class structured_exception : public std::exception {
 public:
  explicit structured_exception(const void* address) noexcept : address_(address) {}
  const char* what() const noexcept override { return "unspecified Structured Exception"; }
  // Address of the instruction that faulted.
  const void* address() const noexcept { return address_; }

 private:
  const void* address_;
};

class access_violation : public structured_exception {
 public:
  using structured_exception::structured_exception;
  const char* what() const noexcept override { return "access violation"; }
};

class divide_by_zero : public structured_exception {
 public:
  using structured_exception::structured_exception;
  const char* what() const noexcept override { return "divide by zero"; }
};

class priv_instruction : public structured_exception {
 public:
  using structured_exception::structured_exception;
  const char* what() const noexcept override { return "privilege instruction"; }
};

// Throws the class that matches the exception code, recording the faulting address.
[[noreturn]] void ThrowStructuredException(uint32_t code, const void* address);

}  // namespace kelvox

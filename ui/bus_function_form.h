// The values behind the main dialog's two number fields and their exchange with the fields'
// texts: the bus number (0 to 255) is read and checked first, then the function number (0 to
// 7); the first field that fails stops the exchange and keeps its value and every later one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/number_field.h"

namespace kelvox {

inline constexpr IntRange kBusRange{0, 255};
inline constexpr IntRange kFunctionRange{0, 7};

enum class FormField { kBus, kFunction };

// Why a retrieval stopped: the field to put focus on and the message to show.
struct FieldFailure {
  FormField field;
  std::string message;
};

class BusFunctionForm {
 public:
  int bus() const { return bus_; }
  int function() const { return function_; }

  // Reads the fields' texts into the values, in field order; stops at the first text that is
  // not an integer in its range and reports it. Values before the failing field are taken.
  std::optional<FieldFailure> Retrieve(std::string_view bus_text, std::string_view function_text);

  // The texts the fields show for the values held.
  std::string BusText() const { return std::to_string(bus_); }
  std::string FunctionText() const { return std::to_string(function_); }

  void Set(int bus, int function) {
    bus_ = bus;
    function_ = function;
  }

 private:
  int bus_ = 0;
  int function_ = 0;
};

}  // namespace kelvox

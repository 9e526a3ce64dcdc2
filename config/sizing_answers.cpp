#include "config/sizing_answers.h"

namespace kelvox {

namespace {

constexpr uint32_t kAllOnesWritten = 0xFFFFFFFF;

std::pair<FunctionLocation, int> KeyOf(FunctionLocation at, int reg) {
  return {MaskedLocation(at), reg & 0xFC};
}

}  // namespace

std::optional<uint32_t> SizingAnswers::Armed(FunctionLocation at, int reg) const {
  const auto armed = armed_.find(KeyOf(at, reg));
  if (armed == armed_.end()) return std::nullopt;
  return armed->second;
}

void SizingAnswers::Write(FunctionLocation at, int reg, uint32_t value,
                          const std::function<std::optional<uint32_t>()>& read_back) {
  const auto key = KeyOf(at, reg);
  armed_.erase(key);
  if (value != kAllOnesWritten) return;
  if (const std::optional<uint32_t> answer = read_back()) armed_[key] = *answer;
}

}  // namespace kelvox

#include "config/capture/simulated_bus.h"

#include <algorithm>
#include <stdexcept>

#include "config/space_limits.h"

namespace kelvox {

uint32_t SimulatedFunction::Dword(int reg) const {
  const int at = reg & 0xFC;
  return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
         static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

void SimulatedFunction::SetDword(int reg, uint32_t value) {
  const int at = reg & 0xFC;
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint8_t SimulatedFunction::Byte(int offset) const {
  if (offset < 0 || offset >= readable) return 0xFF;
  return offset < kBytes ? bytes[offset] : extended[offset - kBytes];
}

void SimulatedFunction::Resize(int size) {
  readable = size;
  if (size > kBytes) {
    extended.resize(kMaxBytes - kBytes);
  } else {
    extended.clear();
    // What lies past a short space reads as nothing was there.
    for (int i = size; i < kBytes; ++i) bytes[i] = 0;
  }
}

int SpaceSizeHolding(int last) {
  if (last < 64) return 64;
  if (last < 128) return 128;
  if (last < SimulatedFunction::kBytes) return SimulatedFunction::kBytes;
  return SimulatedFunction::kMaxBytes;
}

SimulatedFunction& SimulatedBus::AddFunction(FunctionLocation at,
                                             const std::vector<uint8_t>& bytes) {
  if (bytes.size() > SimulatedFunction::kMaxBytes) {
    throw std::invalid_argument("simulated bus: more than 4096 configuration bytes");
  }
  facts_.erase(MaskedLocation(at));
  SimulatedFunction& f = functions_[MaskedLocation(at)];
  f = SimulatedFunction{};
  if (bytes.size() > SimulatedFunction::kBytes) f.Resize(SimulatedFunction::kMaxBytes);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i < SimulatedFunction::kBytes) {
      f.bytes[i] = bytes[i];
    } else {
      f.extended[i - SimulatedFunction::kBytes] = bytes[i];
    }
  }
  return f;
}

SimulatedFunction& SimulatedBus::Existing(FunctionLocation at) {
  auto it = functions_.find(MaskedLocation(at));
  if (it == functions_.end()) throw std::out_of_range("simulated bus: no function there");
  return it->second;
}

void SimulatedBus::SetRegister(FunctionLocation at, int reg, uint32_t value) {
  Existing(at).SetDword(reg, value);
}

void SimulatedBus::SetWritableMask(FunctionLocation at, int reg, uint32_t mask) {
  Existing(at).writable[(reg & 0xFC) / 4] = mask;
}

const SimulatedFunction* SimulatedBus::Find(FunctionLocation at) const {
  auto it = functions_.find(MaskedLocation(at));
  return it == functions_.end() ? nullptr : &it->second;
}

std::vector<FunctionLocation> SimulatedBus::Locations() const {
  std::vector<FunctionLocation> out;
  out.reserve(functions_.size());
  for (const auto& [at, f] : functions_) out.push_back(at);
  return out;
}

uint32_t SimulatedBus::Read(int bus, int device, int function, int reg) {
  const SimulatedFunction* f = Find({bus, device, function, SelectedDomain()});
  return f ? f->Dword(reg) : kAllOnes;
}

void SimulatedBus::Write(int bus, int device, int function, int reg, uint32_t value) {
  auto it = functions_.find(MaskedLocation({bus, device, function, SelectedDomain()}));
  if (it == functions_.end()) return;
  SimulatedFunction& f = it->second;
  const uint32_t mask = f.writable[(reg & 0xFC) / 4];
  f.SetDword(reg, (f.Dword(reg) & ~mask) | (value & mask));
}

FunctionListing SimulatedBus::ListFunctions(std::optional<int> bus) {
  FunctionListing listing;
  for (const auto& [at, f] : functions_) {
    if (at.domain != SelectedDomain()) continue;
    if (!bus || at.bus == (*bus & 0xFF)) listing.present.push_back(at);
  }
  return listing;
}

std::vector<int> SimulatedBus::Domains() {
  std::vector<int> domains;
  for (const auto& [at, f] : functions_) {
    if (domains.empty() || domains.back() != at.domain) domains.push_back(at.domain);
  }
  if (domains.empty()) domains.push_back(0);
  return domains;
}

std::optional<HeaderSizing> SimulatedBus::SizingWithoutWriting(FunctionLocation at) {
  const SimulatedFunction* f = Find(at);
  if (f == nullptr) return std::nullopt;
  HeaderSizing sizing;
  for (int i = 0; i < kHeaderRegisters; ++i) sizing.writable[i] = f->writable[i];
  return sizing;
}

const FunctionFacts* SimulatedBus::FindFacts(FunctionLocation at) const {
  const auto it = facts_.find(MaskedLocation(at));
  return it == facts_.end() ? nullptr : &it->second;
}

std::optional<FunctionFacts> SimulatedBus::Facts(FunctionLocation at) {
  const FunctionFacts* facts = FindFacts(at);
  if (facts == nullptr) return std::nullopt;
  return *facts;
}

FunctionSpace SimulatedBus::ReadSpace(FunctionLocation at, int start, int end) {
  const SimulatedFunction* f = Find(at);
  FunctionSpace space;
  if (f == nullptr) return space;
  for (int i = std::max(start, 0); i < std::min(end, f->readable); ++i) {
    space.bytes.push_back(f->Byte(i));
  }
  if (end > f->readable) {
    space.limit = f->readable <= 128 ? kCaptureHeaderOnlyText : kCaptureConventionalOnlyText;
  }
  return space;
}

void SimulatedBus::SetFacts(FunctionLocation at, const FunctionFacts& facts) {
  (void)Existing(at);
  facts_[MaskedLocation(at)] = facts;
}

}  // namespace kelvox

// A test aid: a ConfigAccess that passes only reads and writes on to another one, so it can
// neither list its functions nor size without writing nor tell any fact, as port I/O cannot.
#pragma once

#include <string>
#include <vector>

#include "config/access.h"

namespace kelvox::testing {

class ReadWriteOnly final : public ConfigAccess {
 public:
  // Passes calls on to `inner`, which must outlive this object.
  explicit ReadWriteOnly(ConfigAccess& inner) : inner_(inner) {}
  uint32_t Read(int bus, int device, int function, int reg) override {
    return inner_.Read(bus, device, function, reg);
  }
  void Write(int bus, int device, int function, int reg, uint32_t value) override {
    inner_.Write(bus, device, function, reg, value);
  }
  std::string Name() const override { return inner_.Name(); }
  std::vector<int> Domains() override { return inner_.Domains(); }
  bool SelectDomain(int domain) override { return inner_.SelectDomain(domain); }
  int SelectedDomain() const override { return inner_.SelectedDomain(); }

 private:
  ConfigAccess& inner_;
};

}  // namespace kelvox::testing

#include "decode/base_address.h"

#include "decode/bar_range.h"
#include "decode/bar_text.h"

namespace kelvox {
namespace {

// Puts the saved value back if sizing is cut short by an exception, so a register is never
// left holding all ones.
class RestoreOnUnwind {
 public:
  RestoreOnUnwind(ConfigAccess& access, int bus, int device, int function, int offset,
                  uint32_t saved)
      : access_(access),
        bus_(bus),
        device_(device),
        function_(function),
        offset_(offset),
        saved_(saved) {}
  ~RestoreOnUnwind() {
    if (armed_) access_.Write(bus_, device_, function_, offset_, saved_);
  }
  RestoreOnUnwind(const RestoreOnUnwind&) = delete;
  RestoreOnUnwind& operator=(const RestoreOnUnwind&) = delete;

  // Writes the saved value now and disarms the guard.
  void Restore() {
    armed_ = false;
    access_.Write(bus_, device_, function_, offset_, saved_);
  }

 private:
  ConfigAccess& access_;
  int bus_, device_, function_, offset_;
  uint32_t saved_;
  bool armed_ = true;
};

}  // namespace

int32_t DecodeBaseAddressRegister(ConfigAccess& access, int bus, int device, int function,
                                  int offset, std::string& text) {
  text.clear();
  const uint32_t saved = access.Read(bus, device, function, offset);
  if (saved == kAllOnes) {
    text = kNoDeviceText;
    return -1;
  }
  uint32_t readback;
  {
    RestoreOnUnwind guard(access, bus, device, function, offset, saved);
    access.Write(bus, device, function, offset, kAllOnes);
    readback = access.Read(bus, device, function, offset);
    guard.Restore();
  }
  text = FormatBarRange(DecodeBarRange(offset, saved, readback));
  return static_cast<int32_t>(saved);
}

}  // namespace kelvox

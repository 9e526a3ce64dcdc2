#include "details/device_details.h"

#include "details/details_texts.h"

namespace kelvox {

DeviceDetails BuildDeviceDetails(ConfigAccess& access, int bus, int device, int function) {
  DeviceDetails details;
  details.caption = DetailsCaption(bus, function, device, access.SelectedDomain());

  const uint32_t reg00 = access.Read(bus, device, function, 0x00);
  const uint32_t reg08 = access.Read(bus, device, function, 0x08);
  details.vendor = VendorPageFields(reg00, reg08);

  details.base_address = BaseAddressPageFields(access, bus, device, function);

  const uint32_t reg0c = access.Read(bus, device, function, 0x0C);
  const uint32_t reg3c = access.Read(bus, device, function, 0x3C);
  const uint32_t reg28 = access.Read(bus, device, function, 0x28);
  const uint32_t reg2c = access.Read(bus, device, function, 0x2C);
  details.misc = MiscPageFields(reg0c, reg3c, reg28, reg2c);

  details.facts = access.Facts(MaskedLocation({bus, device, function, access.SelectedDomain()}));
  details.system = SystemPageFields(details.facts);
  return details;
}

}  // namespace kelvox

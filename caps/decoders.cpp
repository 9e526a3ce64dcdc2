#include "caps/decoders.h"

#include "caps/cap_field.h"

namespace kelvox {

CapabilityDecoder StandardDecoder(int id) {
  switch (id) {
    case 0x01:
      return DecodePowerManagement;
    case 0x04:
      return DecodeSlotId;
    case 0x05:
      return DecodeMsi;
    case 0x07:
      return DecodePcix;
    case 0x08:
      return DecodeHyperTransport;
    case 0x09:
      return DecodeVendorSpecific;
    case 0x0A:
      return DecodeDebugPort;
    case 0x0D:
      return DecodeBridgeSubsystem;
    case 0x10:
      return DecodePciExpress;
    case 0x11:
      return DecodeMsix;
    case 0x12:
      return DecodeSata;
    case 0x13:
      return DecodeAdvancedFeatures;
    case 0x14:
      return DecodeEnhancedAllocation;
    default:
      return nullptr;
  }
}

CapabilityDecoder ExtendedDecoder(int id) {
  switch (id) {
    case 0x0001:
      return DecodeAdvancedErrorReporting;
    case 0x0003:
      return DecodeSerialNumber;
    case 0x000E:
      return DecodeAlternativeRoutingId;
    case 0x000F:
      return DecodeAddressTranslation;
    case 0x0015:
    case 0x0024:
      return DecodeResizableBar;
    case 0x0018:
      return DecodeLatencyTolerance;
    case 0x000B:
      return DecodeVendorSpecificExtended;
    case 0x0010:
      return DecodeSingleRootIov;
    case 0x001E:
      return DecodeL1Substates;
    case 0x001D:
      return DecodeDownstreamContainment;
    case 0x0019:
      return DecodeSecondaryExpress;
    case 0x0023:
      return DecodeDesignatedVendorSpecific;
    case 0x0017:
      return DecodeProcessingHints;
    case 0x000D:
      return DecodeAccessControl;
    case 0x0013:
      return DecodePageRequest;
    case 0x001B:
      return DecodeProcessAddressSpaceId;
    case 0x001F:
      return DecodePrecisionTime;
    case 0x0002:
    case 0x0009:
      return DecodeVirtualChannel;
    case 0x0005:
      return DecodeRootComplexLink;
    case 0x0007:
      return DecodeEventCollectorAssociation;
    case 0x0012:
      return DecodeMulticast;
    case 0x0025:
      return DecodeDataLinkFeature;
    case 0x0026:
      return DecodePhysicalLayer16;
    case 0x0027:
      return DecodeLaneMargining;
    case 0x002A:
      return DecodePhysicalLayer32;
    case 0x002E:
      return DecodeDataObjectExchange;
    case 0x002F:
      return DecodeDevice3;
    case 0x0031:
      return DecodePhysicalLayer64;
    default:
      return nullptr;
  }
}

int StandardCapabilityLength(int id) {
  switch (id) {
    case 0x01:
      return 8;  // Power Management
    case 0x05:
      return 10;  // MSI, 32-bit without masking at least
    case 0x10:
      return 0x14;  // PCI Express: up to the link status at least
    case 0x11:
      return 12;  // MSI-X
    case 0x0D:
      return 8;  // Bridge subsystem vendor ID
    default:
      return 0;
  }
}

bool RequireBytes(const ConfigSpace& space, Capability& capability, int length) {
  if (space.Readable(capability.offset, length)) return true;
  capability.problem = "the capability runs past the readable bytes (0x" +
                       Hex(static_cast<uint32_t>(capability.offset + length), 2) + " of 0x" +
                       Hex(static_cast<uint32_t>(space.size()), 2) + ")";
  return false;
}

}  // namespace kelvox

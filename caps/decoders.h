// The decoders of single capabilities, each in a file of its own, and the table that picks one
// by ID. A decoder reads only bytes the space holds, fills the capability's summary and fields,
// and says in `problem` what it could not read.
#pragma once

#include "caps/capability.h"
#include "caps/config_space.h"

namespace kelvox {

// What a decoder may need to know of the function besides its capability's bytes.
struct FunctionContext {
  uint16_t vendor_id = 0;
  uint16_t device_id = 0;
  int header_layout = 0;  // 0 a device, 1 a PCI-PCI bridge, 2 a CardBus bridge
  int device = 0;         // where it sits, where a decoder tells functions apart
  int function = 0;
  // The PCI Express port type of the function's PCI Express capability, -1 without one.
  int express_type = -1;
  // The maximum width of its link (LnkCap), 0 without one: how many lanes the per-lane
  // registers of the extended capabilities hold.
  int express_link_width = 0;
  // False where only the capabilities' names and places are wanted: no decoder is run.
  bool decode_registers = true;
};

using CapabilityDecoder = void (*)(const ConfigSpace& space, const FunctionContext& function,
                                   Capability& capability);

// The decoder of a standard capability ID, or null for one that is named only.
CapabilityDecoder StandardDecoder(int id);
// The decoder of an extended capability ID, or null for one that is named only.
CapabilityDecoder ExtendedDecoder(int id);

// How many bytes a capability of this ID takes at least, for the check that it does not run
// into the next one; 0 where that is not known.
int StandardCapabilityLength(int id);

// Each decoder: the capability starts at capability.offset.
void DecodePowerManagement(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeMsi(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeMsix(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodePciExpress(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodePcix(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeVendorSpecific(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeBridgeSubsystem(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeSlotId(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeAdvancedFeatures(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeEnhancedAllocation(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeHyperTransport(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeSata(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeDebugPort(const ConfigSpace&, const FunctionContext&, Capability&);
// Extended capabilities.
void DecodeAdvancedErrorReporting(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeSerialNumber(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeAlternativeRoutingId(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeAddressTranslation(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeLatencyTolerance(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeResizableBar(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeAccessControl(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodePageRequest(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeProcessAddressSpaceId(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodePrecisionTime(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeVendorSpecificExtended(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeSingleRootIov(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeL1Substates(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeDownstreamContainment(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeSecondaryExpress(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeDesignatedVendorSpecific(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeProcessingHints(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeVirtualChannel(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeRootComplexLink(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeEventCollectorAssociation(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeMulticast(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeDataLinkFeature(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodePhysicalLayer16(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodePhysicalLayer32(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodePhysicalLayer64(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeLaneMargining(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeDataObjectExchange(const ConfigSpace&, const FunctionContext&, Capability&);
void DecodeDevice3(const ConfigSpace&, const FunctionContext&, Capability&);

// Secondary PCI Express's lane equalization control at `at`: 16 bits for each lane of the
// function's link.
CapField SecondaryLaneEqualization(const ConfigSpace& space, const FunctionContext& function,
                                   int at);

// "the capability runs past the readable bytes (0xNN of 0xMM)": the problem of a capability
// whose registers are not all readable; returns false then, so a decoder can stop.
bool RequireBytes(const ConfigSpace& space, Capability& capability, int length);

}  // namespace kelvox

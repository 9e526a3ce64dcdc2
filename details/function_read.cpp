#include "details/function_read.h"

#include "caps/capability_list.h"
#include "caps/header_fields.h"
#include "caps/space_reader.h"
#include "config/recorded_reads.h"
#include "config/snapshot_access.h"
#include "decode/base_address.h"

namespace kelvox {

FunctionRead ReadFunction(ConfigAccess& access, FunctionLocation at) {
  FunctionRead read;
  // The capabilities first, before the sizing writes take their registers from the snapshot.
  SnapshotAccess snapshot(access);
  read.space = ReadCapabilitySpace(snapshot, at);
  read.capabilities = DecodeCapabilities(read.space, at);
  RecordingAccess recording(snapshot);
  read.details = BuildDeviceDetails(recording, at.bus, at.device, at.function);
  read.records = recording.records();
  RegionSizing sizing;
  for (size_t i = 0; i < sizing.size(); ++i) {
    sizing[i] = ReadAfterWrite(read.records, kBaseAddressOffsets[i]);
  }
  read.header = DecodeHeaderFields(read.space, sizing);
  return read;
}

}  // namespace kelvox

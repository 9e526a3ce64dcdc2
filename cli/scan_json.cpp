#include "cli/scan_json.h"

#include "config/recorded_reads.h"
#include "config/recording_access.h"
#include "scan/bus_scan.h"
#include "scan/device_row.h"

namespace kelvox::cli {

Json ScanJson(ConfigAccess& access, int bus, int function) {
  Json rows = Json::array();
  RecordingAccess recording(access);
  for (int device = 0; device < kDevicesPerBus; ++device) {
    recording.Clear();
    const DeviceRow row = BuildDeviceRow(recording, bus, device, function);
    const auto reg = [&recording](int offset) {
      return FirstRead(recording.records(), offset).value_or(kAllOnes);
    };
    const uint32_t id = reg(0x00), command_status = reg(0x04), class_revision = reg(0x08),
                   header = reg(0x0C);
    rows.push_back({{"device", row.device},
                    {"present", row.vendor_id != 0xFFFF},
                    {"vendor_id", ValueAndText(id & 0xFFFF, row.columns[1])},
                    {"device_id", ValueAndText(id >> 16, row.columns[2])},
                    {"command", ValueAndText(command_status & 0xFFFF, row.columns[3])},
                    {"status", ValueAndText(command_status >> 16, row.columns[4])},
                    {"revision", ValueAndText(class_revision & 0xFF, row.columns[5])},
                    {"class_code", ValueAndText(class_revision >> 8, row.columns[6])},
                    {"header_type", ValueAndText((header >> 16) & 0xFF, row.columns[7])},
                    {"comment", row.columns[8]},
                    {"text", row.text}});
  }
  return rows;
}

}  // namespace kelvox::cli

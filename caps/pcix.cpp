// PCI-X (capability 0x07): for a device its command register (data parity error recovery,
// relaxed ordering, the largest read byte count and split transactions) and status (where it
// sits, its speeds and its designed maxima); for a bridge its secondary and primary status and
// the split transaction capacities and limits of both directions.
#include <array>

#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

constexpr std::array kSplitTransactions = {1, 2, 3, 4, 8, 12, 16, 32};

bool Bit(uint32_t value, int bit) { return (value >> bit & 1) != 0; }

// "Dev=BB:DD.F", where the status register says the function sits.
std::string Place(uint32_t status) {
  return "Dev=" + Hex(status >> 8 & 0xFF, 2) + ":" + Hex(status >> 3 & 0x1F, 2) + "." +
         std::to_string(status & 7);
}

std::vector<CapField> SpeedFlags(uint32_t value, int first_bit) {
  return Fields(Flag("bus_64bit", "64bit", Bit(value, first_bit)),
                Flag("mhz133", "133MHz", Bit(value, first_bit + 1)),
                Flag("split_completion_discarded", "SCD", Bit(value, first_bit + 2)),
                Flag("unexpected_split_completion", "USC", Bit(value, first_bit + 3)));
}

}  // namespace

void DecodePcix(const ConfigSpace& space, const FunctionContext& function, Capability& cap) {
  const int at = cap.offset;
  if (function.header_layout == 1) {
    if (!RequireBytes(space, cap, 16)) return;
    cap.summary = "bridge device";
    const uint16_t secondary = space.Word(at + 2);
    static constexpr std::array<const char*, 8> kFrequencies = {"conv", "66MHz", "100MHz", "133MHz",
                                                                "?4",   "?5",    "?6",     "?7"};
    std::vector<CapField> second = SpeedFlags(secondary, 0);
    second.push_back(Flag("split_completion_overrun", "SCO", Bit(secondary, 4)));
    second.push_back(Flag("split_request_delayed", "SRD", Bit(secondary, 5)));
    const std::string frequency = kFrequencies[secondary >> 6 & 7];
    second.push_back(Text("frequency", "Freq", frequency));
    std::string text;
    for (size_t i = 0; i + 1 < second.size(); ++i) text += second[i].text + " ";
    cap.fields.push_back(Register("secondary_status", "Secondary Status",
                                  text + "Freq=" + frequency, std::move(second)));
    const uint32_t status = space.Dword(at + 4);
    std::vector<CapField> primary = SpeedFlags(status, 16);
    primary.push_back(Flag("split_completion_overrun", "SCO", Bit(status, 20)));
    primary.push_back(Flag("split_request_delayed", "SRD", Bit(status, 21)));
    std::string status_text = Place(status) + " " + FlagsText(primary);
    cap.fields.push_back(Register("status", "Status", std::move(status_text), std::move(primary)));
    struct Direction {
      const char* key;
      const char* label;
      int offset;
    };
    for (const auto& [key, label, offset] :
         {Direction{"upstream", "Upstream", 8}, Direction{"downstream", "Downstream", 12}}) {
      const uint32_t split = space.Dword(at + offset);
      const int capacity = static_cast<int>(split & 0xFFFF);
      const int limit = static_cast<int>(split >> 16);
      cap.fields.push_back(Register(
          key, label,
          "Capacity=" + std::to_string(capacity) + " CommitmentLimit=" + std::to_string(limit),
          Fields(Number("capacity", "Capacity", capacity, std::to_string(capacity)),
                 Number("commitment_limit", "CommitmentLimit", limit, std::to_string(limit)))));
    }
    return;
  }
  if (!RequireBytes(space, cap, 8)) return;
  cap.summary = "non-bridge device";
  const uint16_t command = space.Word(at + 2);
  const int read_count = 512 << (command >> 2 & 3);
  const int split = kSplitTransactions[command >> 4 & 7];
  std::vector<CapField> control = Fields(Flag("data_parity_recovery", "DPERE", Bit(command, 0)),
                                         Flag("relaxed_ordering", "ERO", Bit(command, 1)));
  std::string command_text =
      FlagsText(control) + " RBC=" + std::to_string(read_count) + " OST=" + std::to_string(split);
  control.push_back(Number("max_read_byte_count", "RBC", read_count, std::to_string(read_count)));
  control.push_back(Number("max_split_transactions", "OST", split, std::to_string(split)));
  cap.fields.push_back(Register("command", "Command", std::move(command_text), std::move(control)));
  const uint32_t status = space.Dword(at + 4);
  std::vector<CapField> state = SpeedFlags(status, 16);
  const std::string complexity = Bit(status, 20) ? "bridge" : "simple";
  const int designed_read = 512 << (status >> 21 & 3);
  const int designed_split = kSplitTransactions[status >> 23 & 7];
  const int cumulative = 1 << ((status >> 26 & 7) + 3);
  std::vector<CapField> speeds =
      Fields(Flag("split_completion_error", "RSCEM", Bit(status, 29)),
             Flag("mhz266", "266MHz", Bit(status, 30)), Flag("mhz533", "533MHz", Bit(status, 31)));
  std::string text = Place(status) + " " + FlagsText(state) + " DC=" + complexity +
                     " DMMRBC=" + std::to_string(designed_read) +
                     " DMOST=" + std::to_string(designed_split) +
                     " DMCRS=" + std::to_string(cumulative) + " " + FlagsText(speeds);
  state.push_back(Text("device_complexity", "DC", complexity));
  state.push_back(
      Number("designed_max_read", "DMMRBC", designed_read, std::to_string(designed_read)));
  state.push_back(
      Number("designed_max_split", "DMOST", designed_split, std::to_string(designed_split)));
  state.push_back(
      Number("designed_max_cumulative", "DMCRS", cumulative, std::to_string(cumulative)));
  Append(state, std::move(speeds));
  cap.fields.push_back(Register("status", "Status", std::move(text), std::move(state)));
}

}  // namespace kelvox

// Virtual Channel (extended capabilities 0x0002 and, for a multi-function device, 0x0009): the
// port's arbitration abilities and choice, then each virtual channel's resource: its port
// arbitration, whether it is enabled, its ID and the traffic classes mapped to it, as lspci
// -vv writes them.
#include "caps/cap_field.h"
#include "caps/decoders.h"
#include "text/concat.h"

namespace kelvox {

namespace {

// The names of an arbitration register's bits; a set bit past them reads "??N+".
std::string ArbitrationFlags(uint32_t bits, std::initializer_list<const char*> names,
                             std::vector<CapField>& fields) {
  static constexpr const char* kKeys[] = {"fixed", "wrr32", "wrr64", "wrr128", "twrr128", "wrr256"};
  std::string text;
  text.reserve(64);
  int bit = 0;
  for (const char* name : names) {
    const bool on = (bits >> bit & 1) != 0;
    fields.push_back(Flag(kKeys[bit], name, on));
    if (bit > 0) text += ' ';
    text += fields.back().text;
    ++bit;
  }
  for (; bit < 8; ++bit) {
    if ((bits >> bit & 1) != 0) {
      text += " ??";
      text += static_cast<char>('0' + bit);
      text += '+';
    }
  }
  return text;
}

// The name of an arbitration scheme chosen by number, "??N" for one without a name.
std::string SchemeName(int scheme, std::initializer_list<const char*> names) {
  if (scheme < static_cast<int>(names.size())) return names.begin()[scheme];
  return "??" + std::to_string(scheme);
}

constexpr std::initializer_list<const char*> kChannelSchemes = {"Fixed", "WRR32", "WRR64",
                                                                "WRR128"};
constexpr std::initializer_list<const char*> kPortSchemes = {"Fixed",  "WRR32",   "WRR64",
                                                             "WRR128", "TWRR128", "WRR256"};

// One virtual channel's resource registers at `at`: "Caps: ...", "Arb: ...", "Ctrl: ...",
// "Status: ..." on lines of their own.
CapField ChannelResource(const ConfigSpace& space, int at, int number) {
  static constexpr const char* kKeys[] = {"vc0", "vc1", "vc2", "vc3", "vc4", "vc5", "vc6", "vc7"};
  static constexpr const char* kLabels[] = {"VC0", "VC1", "VC2", "VC3", "VC4", "VC5", "VC6", "VC7"};
  const uint32_t capability = space.Dword(at), control = space.Dword(at + 4);
  const uint16_t status = space.Word(at + 10);
  const int table = static_cast<int>(capability >> 24);
  const int slots = static_cast<int>(capability >> 16 & 0x7F) + 1;
  const bool reject_snoop = (capability >> 15 & 1) != 0;
  std::vector<CapField> fields;
  fields.reserve(15);
  fields.push_back(Number("port_arbitration_table_offset", "PATOffset", table, Hex(table, 2)));
  fields.push_back(Number("max_time_slots", "MaxTimeSlots", slots, std::to_string(slots)));
  fields.push_back(Flag("reject_snoop", "RejSnoopTrans", reject_snoop));
  std::string text;
  text.reserve(192);
  ConcatTo(text, "Caps: PATOffset=", fields[0].text, " MaxTimeSlots=", fields[1].text, " ",
           fields[2].text, "\nArb: ");
  text += ArbitrationFlags(capability & 0xFF, kPortSchemes, fields);
  const bool enabled = (control >> 31 & 1) != 0;
  const int id = static_cast<int>(control >> 24 & 7);
  const std::string scheme = SchemeName(static_cast<int>(control >> 17 & 7), kPortSchemes);
  const int classes = static_cast<int>(control & 0xFF);
  fields.push_back(Flag("enabled", "Enable", enabled));
  fields.push_back(Number("id", "ID", id, std::to_string(id)));
  fields.push_back(Text("arbitration_select", "ArbSelect", scheme));
  fields.push_back(Number("traffic_classes", "TC/VC", classes, Hex(classes, 2)));
  const size_t control_fields = fields.size() - 4;
  ConcatTo(text, "\nCtrl: ", fields[control_fields].text, " ID=", fields[control_fields + 1].text,
           " ArbSelect=", scheme, " TC/VC=", fields[control_fields + 3].text);
  const bool pending = (status & 2) != 0, loading = (status & 1) != 0;
  fields.push_back(Flag("negotiation_pending", "NegoPending", pending));
  fields.push_back(Flag("table_load_in_progress", "InProgress", loading));
  ConcatTo(text, "\nStatus: ", fields[fields.size() - 2].text, " ", fields.back().text);
  if (table != 0) text += "\nPort Arbitration Table <?>";
  CapField channel = Register(kKeys[number], kLabels[number], std::move(text), std::move(fields));
  return channel;
}

}  // namespace

void DecodeVirtualChannel(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 16)) return;
  const uint32_t port1 = space.Dword(cap.offset + 4), port2 = space.Dword(cap.offset + 8);
  const uint16_t control = space.Word(cap.offset + 12), status = space.Word(cap.offset + 14);
  const int low_priority = static_cast<int>(port1 >> 4 & 7);
  const int clock = static_cast<int>(port1 >> 8 & 3);
  const int entry_bits = 1 << (port1 >> 10 & 3);
  const std::string clock_text = clock == 0 ? "100ns" : "??" + std::to_string(clock);
  cap.fields.reserve(5 + 8);
  cap.fields.push_back(Register(
      "port_capabilities", "Caps",
      Concat("LPEVC=", std::to_string(low_priority), " RefClk=", clock_text,
             " PATEntryBits=", std::to_string(entry_bits)),
      Fields(Number("low_priority_vcs", "LPEVC", low_priority, std::to_string(low_priority)),
             Text("reference_clock", "RefClk", clock_text),
             Number("table_entry_bits", "PATEntryBits", entry_bits, std::to_string(entry_bits)))));
  std::vector<CapField> arbitration;
  arbitration.reserve(4);
  std::string text = ArbitrationFlags(port2 & 0xFF, kChannelSchemes, arbitration);
  cap.fields.push_back(
      Register("port_arbitration", "Arb", std::move(text), std::move(arbitration)));
  const std::string scheme = SchemeName(control >> 1 & 7, kChannelSchemes);
  cap.fields.push_back(Register("port_control", "Ctrl", "ArbSelect=" + scheme,
                                Fields(Text("arbitration_select", "ArbSelect", scheme))));
  cap.fields.push_back(FlagsRegister(
      "port_status", "Status", FlagsOf(status, {{"table_load_in_progress", "InProgress", 0}})));
  const int table = static_cast<int>(port2 >> 24);
  if (table != 0) {
    // Where the VC arbitration table lies, in 16-byte units from the capability.
    CapField where = Text("arbitration_table", "",
                          "Port Arbitration Table [" + Hex(cap.offset + 16 * table, 3) + "] <?>");
    where.joiner = "";
    cap.fields.push_back(std::move(where));
  }
  const int channels = static_cast<int>(port1 & 7) + 1;
  for (int i = 0; i < channels; ++i) {
    const int at = cap.offset + 16 + 12 * i;
    if (!space.Readable(at, 12)) {
      cap.problem = "VC" + std::to_string(i) + " runs past the readable bytes";
      return;
    }
    cap.fields.push_back(ChannelResource(space, at, i));
  }
}

}  // namespace kelvox

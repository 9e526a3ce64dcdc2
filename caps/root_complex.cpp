// The Root Complex's own extended capabilities: its Link Declaration (0x0005: this element and
// each link it has to another, with the target's configuration address or memory address)
// and an event collector's Endpoint Association (0x0007: the devices on its bus whose errors
// it collects, and from version 2 the buses it covers), as lspci -vv writes them.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

std::string ElementTypeText(int type) {
  static constexpr const char* kTypes[] = {"Config", "Egress", "Internal"};
  return type < 3 ? kTypes[type] : "??" + std::to_string(type);
}

// One link entry at `at`: its description, then the address of what it links to.
CapField LinkEntry(const ConfigSpace& space, int at, int number) {
  static constexpr const char* kKeys[] = {
      "link0",  "link1",  "link2",  "link3",  "link4",  "link5",  "link6",  "link7",
      "link8",  "link9",  "link10", "link11", "link12", "link13", "link14", "link15",
      "link16", "link17", "link18", "link19", "link20", "link21", "link22", "link23",
      "link24", "link25", "link26", "link27", "link28", "link29", "link30", "link31",
  };
  static constexpr const char* kLabels[] = {
      "Link0",  "Link1",  "Link2",  "Link3",  "Link4",  "Link5",  "Link6",  "Link7",
      "Link8",  "Link9",  "Link10", "Link11", "Link12", "Link13", "Link14", "Link15",
      "Link16", "Link17", "Link18", "Link19", "Link20", "Link21", "Link22", "Link23",
      "Link24", "Link25", "Link26", "Link27", "Link28", "Link29", "Link30", "Link31"};
  const uint32_t description = space.Dword(at);
  const uint64_t address = static_cast<uint64_t>(space.Dword(at + 12)) << 32 | space.Dword(at + 8);
  const bool valid = (description & 1) != 0, config = (description & 2) != 0;
  const bool rcrb = (description & 4) != 0;
  const uint32_t component = description >> 16 & 0xFF, port = description >> 24;
  std::vector<CapField> fields;
  fields.push_back(Number("target_port", "TargetPort", port, Hex(port, 2)));
  fields.push_back(Number("target_component", "TargetComponent", component, Hex(component, 2)));
  fields.push_back(Flag("associated_rcrb", "AssocRCRB", rcrb));
  fields.push_back(Text("link_type", "LinkType", config ? "Config" : "MemMapped"));
  fields.push_back(Flag("valid", "LinkValid", valid));
  std::string text = "Desc: TargetPort=" + Hex(port, 2) + " TargetComponent=" + Hex(component, 2) +
                     " " + FlagText("AssocRCRB", rcrb) + " LinkType=" + fields[3].text + " " +
                     FlagText("LinkValid", valid);
  if (config) {
    // A configuration address: N bits of bus number (0 meaning 8), device, function, then the
    // base of the configuration space.
    const int bus_bits = static_cast<int>(address & 7) == 0 ? 8 : static_cast<int>(address & 7);
    const uint32_t bus = static_cast<uint32_t>(address >> 20) & ((1u << bus_bits) - 1);
    const uint32_t device = static_cast<uint32_t>(address >> 15 & 0x1F);
    const uint32_t function = static_cast<uint32_t>(address >> 12 & 7);
    const std::string target = Hex(bus, 2) + ":" + Hex(device, 2) + "." + std::to_string(function);
    fields.push_back(Text("target", "Addr", target));
    fields.push_back(Text("config_space", "CfgSpace", Hex(address, 16)));
    text += "\nAddr: " + target + "  CfgSpace=" + Hex(address, 16);
  } else {
    fields.push_back(Text("address", "Addr", Hex(address, 16)));
    text += "\nAddr: " + Hex(address, 16);
  }
  CapField entry = Register(kKeys[number], kLabels[number], std::move(text), std::move(fields));
  return entry;
}

// "3-4, 6, 12": the set bits of `bitmap` as runs.
std::string DeviceRuns(uint32_t bitmap) {
  std::string text;
  for (int bit = 0; bit < 32;) {
    if ((bitmap >> bit & 1) == 0) {
      ++bit;
      continue;
    }
    int last = bit;
    while (last + 1 < 32 && (bitmap >> (last + 1) & 1) != 0) ++last;
    if (!text.empty()) text += ", ";
    text += std::to_string(bit);
    if (last > bit) text += "-" + std::to_string(last);
    bit = last + 1;
  }
  return text;
}

}  // namespace

void DecodeRootComplexLink(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const uint32_t self = space.Dword(cap.offset + 4);
  const uint32_t port = self >> 24, component = self >> 16 & 0xFF;
  const int links = static_cast<int>(self >> 8 & 0xFF), type = static_cast<int>(self & 0xFF);
  CapField description =
      Register("element", "Desc",
               "PortNumber=" + Hex(port, 2) + " ComponentID=" + Hex(component, 2) +
                   " EltType=" + ElementTypeText(type),
               Fields(Number("port", "PortNumber", port, Hex(port, 2)),
                      Number("component", "ComponentID", component, Hex(component, 2)),
                      Text("element_type", "EltType", ElementTypeText(type))));
  cap.fields.push_back(std::move(description));
  CapField entries = Register("links", "Links", "");
  entries.shown = false;
  entries.list = true;
  for (int i = 0; i < links; ++i) {
    const int at = cap.offset + 16 + 16 * i;
    if (i >= 32 || !space.Readable(at, 16)) {
      cap.problem = "link " + std::to_string(i) + " of " + std::to_string(links) +
                    " runs past the readable bytes";
      break;
    }
    CapField entry = LinkEntry(space, at, i);
    entries.children.push_back(entry);
    cap.fields.push_back(std::move(entry));
  }
  cap.fields.push_back(std::move(entries));
}

void DecodeEventCollectorAssociation(const ConfigSpace& space, const FunctionContext&,
                                     Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const uint32_t bitmap = space.Dword(cap.offset + 4);
  std::vector<std::string> devices;
  for (int bit = 0; bit < 32; ++bit) {
    if ((bitmap >> bit & 1) != 0) devices.push_back(std::to_string(bit));
  }
  CapField endpoints =
      Text("devices", "RCiEPBitmap",
           bitmap == 0 ? "00000000 [none]" : "RCiEP at Device(s): " + DeviceRuns(bitmap));
  endpoints.value = std::move(devices);
  cap.fields.push_back(std::move(endpoints));
  if (cap.version < 2 || !space.Readable(cap.offset + 8, 4)) return;
  const uint32_t buses = space.Dword(cap.offset + 8);
  const uint32_t next = buses >> 8 & 0xFF, last = buses >> 16 & 0xFF;
  cap.fields.push_back(Register("associated_buses", "AssociatedBusNumbers",
                                Hex(next, 2) + "-" + Hex(last, 2),
                                Fields(Number("next_bus", "next", next, Hex(next, 2)),
                                       Number("last_bus", "last", last, Hex(last, 2)))));
}

}  // namespace kelvox

// Power Management (capability 0x01): its capabilities register (version, PME clock, device
// specific initialization, auxiliary current, D1/D2 support, the states PME can be signalled
// from), its control/status register (the power state and PME state) and a bridge's extension.
#include <array>

#include "caps/cap_field.h"
#include "caps/decoders.h"
#include "text/concat.h"

namespace kelvox {

namespace {

constexpr std::array kAuxCurrentMilliamps = {0, 55, 100, 160, 220, 270, 320, 375};
constexpr std::array kPowerStates = {"D0", "D1", "D2", "D3hot"};

}  // namespace

void DecodePowerManagement(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const int at = cap.offset;
  const uint16_t pmc = space.Word(at + 2);
  const uint16_t pmcsr = space.Word(at + 4);
  cap.version = pmc & 0x7;
  cap.summary = "version " + std::to_string(cap.version);
  cap.fields.push_back(
      Hidden(Number("version", "Version", cap.version, std::to_string(cap.version))));

  const int aux = kAuxCurrentMilliamps[pmc >> 6 & 0x7];
  const bool pme[] = {(pmc & 1 << 11) != 0, (pmc & 1 << 12) != 0, (pmc & 1 << 13) != 0,
                      (pmc & 1 << 14) != 0, (pmc & 1 << 15) != 0};
  std::vector<std::string> pme_states;
  const char* const state_names[] = {"D0", "D1", "D2", "D3hot", "D3cold"};
  std::string pme_text = "PME(";
  pme_text.reserve(32);
  for (int i = 0; i < 5; ++i) {
    if (pme[i]) pme_states.emplace_back(state_names[i]);
    pme_text += state_names[i];
    pme_text += pme[i] ? '+' : '-';
    pme_text += i < 4 ? ',' : ')';
  }
  std::vector<CapField> flags =
      Fields(Flag("pme_clock", "PMEClk", (pmc & 1 << 3) != 0),
             Flag("device_specific_init", "DSI", (pmc & 1 << 5) != 0),
             Flag("d1", "D1", (pmc & 1 << 9) != 0), Flag("d2", "D2", (pmc & 1 << 10) != 0),
             Number("aux_current", "AuxCurrent", aux, std::to_string(aux) + "mA"));
  std::string flags_text = Concat(flags[0].text, " ", flags[1].text, " ", flags[2].text, " ",
                                  flags[3].text, " AuxCurrent=", flags[4].text, " ", pme_text);
  CapField& pme_field = flags.emplace_back();
  pme_field.key = "pme_states";
  pme_field.label = "PME";
  pme_field.text = std::move(pme_text);
  pme_field.value = std::move(pme_states);
  cap.fields.push_back(Register("flags", "Flags", std::move(flags_text), std::move(flags)));

  const std::string state = kPowerStates[pmcsr & 0x3];
  std::vector<CapField> status =
      Fields(Text("power_state", "PowerState", state),
             Flag("no_soft_reset", "NoSoftRst", (pmcsr & 1 << 3) != 0),
             Flag("pme_enable", "PME-Enable", (pmcsr & 1 << 8) != 0),
             Number("data_select", "DSel", pmcsr >> 9 & 0xF, std::to_string(pmcsr >> 9 & 0xF)),
             Number("data_scale", "DScale", pmcsr >> 13 & 0x3, std::to_string(pmcsr >> 13 & 0x3)),
             Flag("pme_status", "PME", (pmcsr & 1 << 15) != 0));
  // lspci writes D3hot as "D3".
  std::string status_text =
      Concat(state == "D3hot" ? "D3" : state, " ", status[1].text, " ", status[2].text,
             " DSel=", status[3].text, " DScale=", status[4].text, " ", status[5].text);
  cap.fields.push_back(Hidden(Text("power_state", "PowerState", state)));
  cap.fields.push_back(Register("status", "Status", std::move(status_text), std::move(status)));

  // A bridge's extension: secondary bus clock control, and B2 rather than B3 in D3hot.
  const uint8_t bridge = space.Byte(at + 6);
  if (bridge != 0) {
    const std::vector<CapField> flags =
        Fields(Flag("bus_clock_control", "PM", (bridge & 0x80) != 0),
               Flag("b3_in_d3hot", "B3", (bridge & 0x40) == 0));
    cap.fields.push_back(FlagsRegister("bridge", "Bridge", std::move(flags)));
  }
}

}  // namespace kelvox

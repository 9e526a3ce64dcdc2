// Downstream Port Containment (extended capability 0x001D): what the port can do when an error
// makes it contain the link below it (its interrupt message, root port extensions, poisoned TLP
// and software triggers, the PIO log size), what is enabled, the status of a containment and
// the requester that caused it, as lspci -vv writes them.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

void DecodeDownstreamContainment(const ConfigSpace& space, const FunctionContext&,
                                 Capability& cap) {
  if (!RequireBytes(space, cap, 12)) return;
  const int at = cap.offset;
  const uint16_t capability = space.Word(at + 4), control = space.Word(at + 6);
  const uint16_t status = space.Word(at + 8), source = space.Word(at + 10);

  const int message = capability & 0x1F, log = capability >> 8 & 0xF;
  std::vector<CapField> offered = FlagsOf(capability, {{"root_port_extensions", "RPExt", 5},
                                                       {"poisoned_tlp_egress", "PoisonedTLP", 6},
                                                       {"software_trigger", "SwTrigger", 7}});
  CapField dl_active = Flag("dl_active_error", "DL_ActiveErr", (capability & 1 << 12) != 0);
  std::string text = "INT Msg #" + std::to_string(message) + ", " + FlagsText(offered) +
                     " RP PIO Log " + std::to_string(log) + ", " + dl_active.text;
  offered.push_back(std::move(dl_active));
  offered.push_back(Number("interrupt_message", "INT Msg", message, std::to_string(message)));
  offered.push_back(Number("rp_pio_log_size", "RP PIO Log", log, std::to_string(log)));
  cap.fields.push_back(Register("capabilities", "DpcCap", std::move(text), std::move(offered)));

  const int trigger = control & 3;
  std::vector<CapField> enabled = FlagsOf(control, {{"completion_control", "Cmpl", 2},
                                                    {"interrupt", "INT", 3},
                                                    {"err_cor", "ErrCor", 4},
                                                    {"poisoned_tlp_egress", "PoisonedTLP", 5},
                                                    {"software_trigger", "SwTrigger", 6},
                                                    {"dl_active_error", "DL_ActiveErr", 7}});
  std::string control_text = "Trigger:" + std::to_string(trigger) + " " + FlagsText(enabled);
  enabled.push_back(Number("trigger_enable", "Trigger", trigger, std::to_string(trigger)));
  cap.fields.push_back(Register("control", "DpcCtl", std::move(control_text), std::move(enabled)));

  const int reason = status >> 1 & 3, extension = status >> 5 & 3, pointer = status >> 8 & 0x1F;
  const CapField triggered = Flag("triggered", "Trigger", (status & 1) != 0);
  const CapField interrupt = Flag("interrupt", "INT", (status & 8) != 0);
  const CapField busy = Flag("rp_busy", "RPBusy", (status & 16) != 0);
  std::string status_text = triggered.text + " Reason:" + Hex(static_cast<uint32_t>(reason), 2) +
                            " " + interrupt.text + " " + busy.text +
                            " TriggerExt:" + Hex(static_cast<uint32_t>(extension), 2) +
                            " RP PIO ErrPtr:" + Hex(static_cast<uint32_t>(pointer), 2);
  cap.fields.push_back(Register(
      "status", "DpcSta", std::move(status_text),
      Fields(triggered, Number("reason", "Reason", reason, Hex(static_cast<uint32_t>(reason), 2)),
             interrupt, busy,
             Number("reason_extension", "TriggerExt", extension,
                    Hex(static_cast<uint32_t>(extension), 2)),
             Number("rp_pio_error_pointer", "RP PIO ErrPtr", pointer,
                    Hex(static_cast<uint32_t>(pointer), 2)))));
  cap.fields.push_back(Text("source", "Source", Hex(source, 4)));
}

}  // namespace kelvox

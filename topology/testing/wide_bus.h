// A test and benchmark aid: a simulated machine of 256 functions for timing the topology
// window, a host bridge and 15 root ports, each with 16 devices below it, every link known
// and one in eight of the devices trained below what both ends can. Header only.
#pragma once

#include <cstdio>
#include <string>

#include "config/capture/simulated_bus.h"

namespace kelvox::testing {

inline SimulatedBus WideBus() {
  SimulatedBus bus;
  const auto add = [&bus](FunctionLocation at, uint32_t ids, uint32_t class_rev, bool bridge,
                          const FunctionFacts& facts) {
    bus.AddFunction(at);
    bus.SetRegister(at, 0x00, ids);
    bus.SetRegister(at, 0x08, class_rev);
    if (bridge) {
      bus.SetRegister(at, 0x0C, 0x00010000);
      bus.SetRegister(
          at, 0x18, static_cast<uint32_t>(at.device) << 16 | static_cast<uint32_t>(at.device) << 8);
    }
    bus.SetFacts(at, facts);
  };
  FunctionFacts host;
  host.driver = "";
  host.parent = "";
  add({0, 0, 0}, 0x29C08086, 0x06000002, false, host);
  for (int port = 1; port <= 15; ++port) {
    FunctionFacts facts;
    facts.driver = "pcieport";
    facts.parent = "";
    facts.max_link_speed = facts.current_link_speed = "16.0 GT/s PCIe";
    facts.max_link_width = facts.current_link_width = 16;
    add({0, port, 0}, 0x29C18086, 0x06040000, true, facts);
    char parent[16];
    std::snprintf(parent, sizeof parent, "00:%02x.0", port);
    for (int device = 0; device < 16; ++device) {
      FunctionFacts below;
      below.driver = device % 3 == 0 ? "nvme" : "e1000e";
      below.parent = parent;
      below.max_link_speed = "16.0 GT/s PCIe";
      below.current_link_speed = device % 8 == 0 ? "2.5 GT/s PCIe" : "16.0 GT/s PCIe";
      below.max_link_width = below.current_link_width = 16;
      add({port, device, 0}, device % 3 == 0 ? 0xA808144D : 0x10D38086,
          device % 3 == 0 ? 0x01080200 : 0x02000000, false, below);
    }
  }
  return bus;
}

}  // namespace kelvox::testing

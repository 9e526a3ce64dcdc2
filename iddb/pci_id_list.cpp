#include "iddb/pci_id_list.h"

#include <algorithm>

namespace kelvox {

// Vendors are found through a sorted index; a vendor's devices (a few thousand at most) and a
// device's subsystems are scanned in file order, which keeps the first line the one reported.

bool SplitBracketedName(std::string_view name, std::string_view& a, std::string_view& b) {
  if (!name.ends_with(']')) return false;
  int depth = 0;
  size_t open = std::string_view::npos;
  for (size_t i = name.size(); i-- > 0;) {
    if (name[i] == ']') ++depth;
    if (name[i] == '[' && --depth == 0) {
      open = i;
      break;
    }
  }
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (open == std::string_view::npos || open == 0 || !blank(name[open - 1])) return false;
  size_t a_end = open - 1;
  while (a_end > 0 && blank(name[a_end - 1])) --a_end;
  if (a_end == 0) return false;
  a = name.substr(0, a_end);
  b = name.substr(open + 1, name.size() - open - 2);
  return true;
}

void PciIdList::SetText(std::string text) {
  owned_text_ = std::move(text);
  keeper_.reset();
  text_ = owned_text_;
}

void PciIdList::SetText(std::string_view text, std::shared_ptr<const void> keeper) {
  owned_text_.clear();
  keeper_ = std::move(keeper);
  text_ = text;
}

void PciIdList::Index() {
  vendor_index_.clear();
  vendor_index_.reserve(vendors.size());
  for (std::uint32_t i = 0; i < vendors.size(); ++i) vendor_index_.emplace_back(vendors[i].id, i);
  std::sort(vendor_index_.begin(), vendor_index_.end());
}

namespace {

// The positions in `vendors` of every block of `id`, in file order.
template <typename Index>
auto VendorBlocks(const Index& index, std::uint16_t id) {
  return std::equal_range(index.begin(), index.end(),
                          std::pair<std::uint16_t, std::uint32_t>{id, 0},
                          [](const auto& a, const auto& b) { return a.first < b.first; });
}

}  // namespace

bool PciIdList::FindVendor(std::uint32_t vendor_id, std::string_view& short_name,
                           std::string_view& full_name) const {
  const auto [first, last] = VendorBlocks(vendor_index_, static_cast<std::uint16_t>(vendor_id));
  if (first == last) return false;
  const std::string_view name = NameOf(vendors[first->second].name);
  if (!SplitBracketedName(name, full_name, short_name)) {
    short_name = "";
    full_name = name;
  }
  return true;
}

bool PciIdList::FindVendorLine(std::uint32_t vendor_id, std::string_view& name) const {
  const auto [first, last] = VendorBlocks(vendor_index_, static_cast<std::uint16_t>(vendor_id));
  if (first == last) return false;
  name = NameOf(vendors[first->second].name);
  return true;
}

bool PciIdList::FindDevice(std::uint32_t vendor_id, std::uint32_t device_id,
                           std::string_view& chip_name, std::string_view& description) const {
  const auto key = static_cast<std::uint16_t>(device_id);
  const auto [first, last] = VendorBlocks(vendor_index_, static_cast<std::uint16_t>(vendor_id));
  for (auto block = first; block != last; ++block) {
    const PciIdVendor& vendor = vendors[block->second];
    for (std::uint32_t i = vendor.first_device; i < vendor.end_device; ++i) {
      if (devices[i].id != key) continue;
      const std::string_view name = NameOf(devices[i].name);
      if (!SplitBracketedName(name, chip_name, description)) {
        chip_name = "";
        description = name;
      }
      return true;
    }
  }
  return false;
}

bool PciIdList::FindSubsystem(std::uint32_t vendor_id, std::uint32_t device_id,
                              std::uint32_t subvendor, std::uint32_t subdevice,
                              std::string_view& name) const {
  const auto device_key = static_cast<std::uint16_t>(device_id);
  const auto subvendor_key = static_cast<std::uint16_t>(subvendor);
  const auto subdevice_key = static_cast<std::uint16_t>(subdevice);
  const auto [first, last] = VendorBlocks(vendor_index_, static_cast<std::uint16_t>(vendor_id));
  for (auto block = first; block != last; ++block) {
    const PciIdVendor& vendor = vendors[block->second];
    for (std::uint32_t i = vendor.first_device; i < vendor.end_device; ++i) {
      const PciIdDevice& device = devices[i];
      if (device.id != device_key) continue;
      for (std::uint32_t s = device.first_subsystem; s < device.end_subsystem; ++s) {
        if (subsystems[s].subvendor == subvendor_key && subsystems[s].subdevice == subdevice_key) {
          name = NameOf(subsystems[s].name);
          return true;
        }
      }
    }
  }
  return false;
}

void PciIdList::FindClass(std::uint32_t base, std::uint32_t sub, std::uint32_t prog_if,
                          std::string_view& base_name, std::string_view& sub_name,
                          std::string_view& prog_if_name) const {
  const auto base_key = static_cast<std::uint8_t>(base);
  const auto sub_key = static_cast<std::uint8_t>(sub);
  const auto prog_if_key = static_cast<std::uint8_t>(prog_if);
  base_name = "";
  sub_name = "";
  prog_if_name = "";
  bool have_base = false, have_sub = false;
  for (const PciIdClassLevel& b : base_classes) {
    if (b.id != base_key) continue;
    if (!have_base) base_name = NameOf(b.name);
    have_base = true;
    for (std::uint32_t s = b.first_child; s < b.end_child; ++s) {
      const PciIdClassLevel& level = sub_classes[s];
      if (level.id != sub_key) continue;
      if (!have_sub) sub_name = NameOf(level.name);
      have_sub = true;
      for (std::uint32_t p = level.first_child; p < level.end_child; ++p) {
        if (prog_ifs[p].id != prog_if_key) continue;
        prog_if_name = NameOf(prog_ifs[p].name);
        return;
      }
    }
  }
}

}  // namespace kelvox

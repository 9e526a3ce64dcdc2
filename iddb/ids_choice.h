// The --ids option of kelvox and kelvox-cli: which PCI ID list names things.
//   embedded  the list of 2005 built into the program (the default)
//   system    the distribution's list: the first of kSystemIdListPaths that exists
//   FILE      a pci.ids file (plain or gzip-compressed)
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "iddb/pci_id_list.h"

namespace kelvox {

// Where distributions install pci.ids: Debian's package pci.ids, then hwdata (Fedora, Arch...).
inline constexpr std::array<std::string_view, 3> kSystemIdListPaths = {
    "/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids", "/usr/share/pci.ids"};

// The first of `paths` that exists, or nothing.
std::optional<std::string> FindSystemIdList(
    std::span<const std::string_view> paths = kSystemIdListPaths);

// The list an --ids value chooses: null for "embedded"; or a one-line message (a file that
// cannot be read or is malformed, naming FILE:LINE; no system list, naming the paths tried).
struct IdsChoice {
  std::shared_ptr<const PciIdList> list;
  std::string error;
  bool ok() const { return error.empty(); }
};
IdsChoice LoadIdsChoice(std::string_view value,
                        std::span<const std::string_view> system_paths = kSystemIdListPaths);

// The name of the list in use in labels: "" for the embedded list, else the file's version
// (or "?" when the file gives none).
std::string IdListVersionLabel(const PciIdList* list);

}  // namespace kelvox

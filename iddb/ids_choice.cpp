#include "iddb/ids_choice.h"

#include <sys/stat.h>

#include "iddb/pci_ids_file.h"

namespace kelvox {

std::optional<std::string> FindSystemIdList(std::span<const std::string_view> paths) {
  for (std::string_view path : paths) {
    struct stat info {};
    if (::stat(std::string(path).c_str(), &info) == 0) return std::string(path);
  }
  return std::nullopt;
}

IdsChoice LoadIdsChoice(std::string_view value, std::span<const std::string_view> system_paths) {
  if (value == "embedded") return {};
  std::string path(value);
  if (value == "system") {
    const std::optional<std::string> found = FindSystemIdList(system_paths);
    if (!found) {
      std::string tried;
      for (std::string_view p : system_paths) tried += (tried.empty() ? "" : ", ") + std::string(p);
      return {nullptr, "--ids system: no PCI ID list installed (tried " + tried + ")"};
    }
    path = *found;
  }
  PciIdsRead read = LoadPciIdsFile(path);
  return {std::move(read.list), std::move(read.error)};
}

std::string IdListVersionLabel(const PciIdList* list) {
  if (list == nullptr) return {};
  return list->version.empty() ? "?" : list->version;
}

}  // namespace kelvox

#include "config/sysfs/sysfs_facts.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "config/sysfs/folder_name.h"
#include "files/read_file.h"

namespace kelvox {

namespace {

namespace fs = std::filesystem;

// The files here hold one short line.
constexpr size_t kMaxFactFile = 4096;

std::optional<std::string> ReadLine(const std::string& path, const FactsOpenFunction& open) {
  return ReadSysfsLine(path, open, kMaxFactFile);
}

// The name a link points at ("virtio-pci" for .../drivers/virtio-pci); "" when there is no
// link, nothing when the name is there but is not a link.
std::optional<std::string> LinkName(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (status.type() == fs::file_type::not_found) return std::string();
  if (error || status.type() != fs::file_type::symlink) return std::nullopt;
  const fs::path target = fs::read_symlink(path, error);
  if (error) return std::nullopt;
  return target.filename().string();
}

// The number of entries of a folder; 0 when there is none.
std::optional<int> EntryCount(const std::string& path) {
  std::error_code error;
  if (!fs::exists(path, error)) return 0;
  int count = 0;
  for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
    ++count;
  }
  if (error) return std::nullopt;
  return count;
}

// The address of the bridge whose folder holds the function's own ("BB:DD.F", with its domain
// in front outside domain 0000), "" for a host bridge's.
std::optional<std::string> ParentOf(const std::string& folder) {
  std::error_code error;
  const fs::path real = fs::canonical(folder, error);
  if (error) return std::nullopt;
  const std::string above = real.parent_path().filename().string();
  const std::optional<FunctionLocation> bridge = ParseSysfsFolderName(above);
  if (!bridge) return std::string();
  return AddressText(*bridge);
}

}  // namespace

std::optional<std::string> ReadSysfsLine(const std::string& path, const FactsOpenFunction& open,
                                         size_t limit) {
  // Not blocking: a FIFO put where a kernel file should be gives nothing rather than a hang.
  const ScopedDescriptor fd(open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return std::nullopt;
  ReadAllResult read = ReadAll(fd.get(), limit);
  if (!read.ok()) return std::nullopt;
  while (!read.text.empty() && (read.text.back() == '\n' || read.text.back() == '\r')) {
    read.text.pop_back();
  }
  return read.text;
}

std::optional<FunctionFacts> ReadSysfsFacts(const std::string& folder,
                                            const FactsOpenFunction& open, unsigned wanted) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) return std::nullopt;
  FunctionFacts facts;
  // Every value passes the same checks as a capture's, so what is read is what a capture keeps.
  const auto set = [&facts](const char* name, const std::optional<std::string>& value) {
    if (value) SetNamedFact(facts, name, *value);
  };
  if (wanted & (kOtherFacts | kLinkFacts)) {
    for (const char* file : {"enable", "power_state", "current_link_speed", "current_link_width",
                             "max_link_speed", "max_link_width"}) {
      set(file, ReadLine(folder + "/" + file, open));
    }
  }
  if (wanted & kOtherFacts) {
    for (const char* file : {"modalias", "irq", "numa_node"}) {
      set(file, ReadLine(folder + "/" + file, open));
    }
    const std::optional<int> vectors = EntryCount(folder + "/msi_irqs");
    set("msi_irqs", vectors ? std::optional<std::string>(std::to_string(*vectors)) : std::nullopt);
    set("iommu_group", LinkName(folder + "/iommu_group"));
  }
  if (wanted & kDriverFact) set("driver", LinkName(folder + "/driver"));
  if (wanted & kParentFact) set("parent", ParentOf(folder));
  return facts;
}

}  // namespace kelvox

// A test aid: a temporary folder shaped like /sys/bus/pci/devices, with the `config` and
// `resource` files the kernel writes for each function, removed when the test ends.
#pragma once

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/sysfs/resource_sizing.h"
#include "testsupport/temp_folder.h"

namespace kelvox::testing {

// A function folder's files as the kernel writes them.
struct FakeFunction {
  std::vector<uint32_t> config;         // dwords from offset 0
  std::vector<ResourceRegion> regions;  // resource lines; padded to 7 with empty lines
};

// The `resource` file of the regions, padded to the seven lines every function has.
inline std::string ResourceText(std::vector<ResourceRegion> regions) {
  regions.resize(std::max<size_t>(regions.size(), 7));
  std::string text;
  for (const ResourceRegion& r : regions) {
    char line[80];
    std::snprintf(line, sizeof line, "0x%016" PRIx64 " 0x%016" PRIx64 " 0x%016" PRIx64 "\n",
                  r.start, r.end, r.flags);
    text += line;
  }
  return text;
}

// A region of `size` bytes at `start` (flags: memory by default).
inline ResourceRegion Region(uint64_t start, uint64_t size, uint64_t flags = 0x200) {
  return {start, start + size - 1, flags};
}

// The 16 header dwords of a function of the given header type with the given base address
// registers (from 0x10 on) and ROM register (0x30).
inline std::vector<uint32_t> Header(std::vector<uint32_t> bars, uint32_t rom = 0,
                                    uint32_t type = 0) {
  std::vector<uint32_t> config(16, 0);
  config[0] = 0x10451AF4;
  config[1] = 0x00100007;
  config[2] = 0x06040001;
  config[3] = type << 16;
  for (size_t i = 0; i < bars.size(); ++i) config[4 + i] = bars[i];
  config[12] = rom;
  return config;
}

class FakeSysfsTree {
 public:
  const std::string& root() const { return root_.path(); }

  // Adds the folder `name` ("0000:00:01.0") with the function's files; returns its path.
  std::string Add(const std::string& name, const FakeFunction& f) {
    const std::string folder = root_.PathOf(name);
    std::filesystem::create_directory(folder);
    std::string bytes;
    for (uint32_t d : f.config) {
      for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(d >> (8 * i)));
    }
    // The kernel's config file of a conventional function is 256 bytes; one given only its
    // header is padded with zeros to that, a shorter one (a broken file) kept as given.
    if (bytes.size() == 64) bytes.resize(256);
    WriteFile(folder + "/config", bytes);
    WriteFile(folder + "/resource", ResourceText(f.regions));
    return folder;
  }
  static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

 private:
  TempFolder root_{"kelvox-sysfs"};
};

}  // namespace kelvox::testing

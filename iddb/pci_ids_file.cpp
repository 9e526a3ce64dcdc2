#include "iddb/pci_ids_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#if KELVOX_HAVE_ZLIB
#include <zlib.h>
#endif

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelvox {

namespace {

// No PCI ID list comes near this (the 2023 list is 1.4 MB); a larger file is not one.
constexpr size_t kMaxListBytes = size_t{64} << 20;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole file, or a message.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = path + ": cannot open: " + std::strerror(errno);
    return false;
  }
  // The file's size, where the system tells it, so the text is allocated once.
  if (std::fseek(file.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(file.get());
    if (size > 0 && static_cast<unsigned long>(size) <= kMaxListBytes) {
      bytes.reserve(static_cast<size_t>(size));
    }
  }
  std::rewind(file.get());
  char buffer[1 << 16];
  for (;;) {
    const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    bytes.append(buffer, got);
    if (bytes.size() > kMaxListBytes) {
      error = path + ": larger than 64 MiB; not a PCI ID list";
      return false;
    }
    if (got < sizeof buffer) break;
  }
  if (std::ferror(file.get())) {
    error = path + ": cannot read: " + std::strerror(errno);
    return false;
  }
  return true;
}

bool IsGzip(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1F &&
         static_cast<unsigned char>(bytes[1]) == 0x8B;
}

#if KELVOX_HAVE_ZLIB
bool Inflate(const std::string& path, std::string_view packed, std::string& text,
             std::string& error) {
  z_stream stream{};
  // 16 + MAX_WBITS: a gzip header and trailer around the deflate data.
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
    error = path + ": cannot start zlib";
    return false;
  }
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  char buffer[1 << 16];
  int status = Z_OK;
  while (status == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    text.append(buffer, sizeof buffer - stream.avail_out);
    if (text.size() > kMaxListBytes) {
      inflateEnd(&stream);
      error = path + ": inflates to more than 64 MiB; not a PCI ID list";
      return false;
    }
  }
  inflateEnd(&stream);
  if (status != Z_STREAM_END) {
    error = path + ": damaged gzip data" + (stream.msg ? std::string(" (") + stream.msg + ")" : "");
    return false;
  }
  return true;
}
#endif

// The list in compressed bytes, inflated.
PciIdsRead Inflated(const std::string& path, std::string_view packed) {
#if KELVOX_HAVE_ZLIB
  std::string text, error;
  if (!Inflate(path, packed, text, error)) return {nullptr, error};
  return ReadPciIds(std::move(text), path);
#else
  (void)packed;
  return {nullptr, path + ": gzip-compressed lists are not supported in this build"};
#endif
}

#ifndef _WIN32
// A regular file mapped read-only: its pages come straight from the page cache, without a
// copy. Nothing (keeper null) for anything else, which is then read the ordinary way; a
// message when the file cannot be opened at all.
std::shared_ptr<const void> MapRegularFile(const std::string& path, std::string_view& bytes,
                                           std::string& error) {
  // Only a regular file is opened here: opening a FIFO twice could lose what its writer sends.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = path + ": cannot open: " + std::strerror(errno);
    return nullptr;
  }
  void* address = MAP_FAILED;
  size_t size = 0;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
      static_cast<unsigned long long>(info.st_size) <= kMaxListBytes) {
    size = static_cast<size_t>(info.st_size);
    address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  }
  ::close(fd);
  if (address == MAP_FAILED) return nullptr;
  bytes = std::string_view(static_cast<const char*>(address), size);
  return std::shared_ptr<const void>(
      address, [size](const void* p) { ::munmap(const_cast<void*>(p), size); });
}
#endif

}  // namespace

bool ReadsCompressedIdLists() { return KELVOX_HAVE_ZLIB != 0; }

PciIdsRead LoadPciIdsFile(const std::string& path) {
  std::string bytes, error;
#ifndef _WIN32
  std::string_view mapped;
  if (std::shared_ptr<const void> keeper = MapRegularFile(path, mapped, error)) {
    if (IsGzip(mapped)) return Inflated(path, mapped);
    return ReadPciIds(mapped, std::move(keeper), path);
  }
  if (!error.empty()) return {nullptr, error};
#endif
  if (!ReadWholeFile(path, bytes, error)) return {nullptr, error};
  if (IsGzip(bytes)) return Inflated(path, bytes);
  return ReadPciIds(std::move(bytes), path);
}

}  // namespace kelvox

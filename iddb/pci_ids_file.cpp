#include "iddb/pci_ids_file.h"

#include <string_view>

#if KELVOX_HAVE_ZLIB
#include <zlib.h>
#endif

#include "files/named_file.h"
#include "text/one_line.h"

namespace kelvox {

namespace {

// No PCI ID list comes near this (the 2023 list is 1.4 MB); a larger file is not one.
constexpr size_t kMaxListBytes = size_t{64} << 20;

// The file is read into memory, never mapped: a list rewritten or truncated while it is in use
// (a package upgrade) must not take pages from under the names the program shows.
constexpr NamedFileRules kListFile = {kMaxListBytes, "larger than 64 MiB; not a PCI ID list"};

bool IsGzip(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1F &&
         static_cast<unsigned char>(bytes[1]) == 0x8B;
}

#if KELVOX_HAVE_ZLIB
bool Inflate(const std::string& name, std::string_view packed, std::string& text,
             std::string& error) {
  z_stream stream{};
  // 16 + MAX_WBITS: a gzip header and trailer around the deflate data.
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
    error = name + ": cannot start zlib";
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
      error = name + ": inflates to more than 64 MiB; not a PCI ID list";
      return false;
    }
  }
  inflateEnd(&stream);
  if (status != Z_STREAM_END) {
    error = name + ": damaged gzip data" + (stream.msg ? std::string(" (") + stream.msg + ")" : "");
    return false;
  }
  return true;
}
#endif

// The list in compressed bytes, inflated.
PciIdsRead Inflated(const std::string& name, std::string_view packed) {
#if KELVOX_HAVE_ZLIB
  std::string text, error;
  if (!Inflate(name, packed, text, error)) return {nullptr, error};
  return ReadPciIds(std::move(text), name);
#else
  (void)packed;
  return {nullptr, name + ": gzip-compressed lists are not supported in this build"};
#endif
}

}  // namespace

bool ReadsCompressedIdLists() { return KELVOX_HAVE_ZLIB != 0; }

PciIdsRead LoadPciIdsFile(const std::string& path) {
  std::string error;
  std::optional<std::string> bytes = ReadNamedFile(path, kListFile, error);
  if (!bytes) return {nullptr, error};
  // Messages name the file as ReadNamedFile does, its control bytes escaped.
  const std::string name = OneLine(path);
  if (IsGzip(*bytes)) return Inflated(name, *bytes);
  return ReadPciIds(std::move(*bytes), name);
}

}  // namespace kelvox

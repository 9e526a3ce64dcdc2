#include "fuzz/ids_files.h"

#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "iddb/pci_ids_file.h"

namespace kelvox::fuzz {

namespace {

[[noreturn]] void Fails(const std::string& what) {
  std::fprintf(stderr, "ids files: %s\n", what.c_str());
  std::abort();
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

void WriteFile(const std::string& path, std::string_view bytes) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
      std::fclose(file.release()) != 0) {
    Fails("cannot write " + path);
  }
}

// `text` as gzip writes it: a gzip header, the deflate stream and the trailer.
std::string Gzip(std::string_view text, int level) {
  z_stream stream{};
  // 16 + MAX_WBITS: with a gzip header and trailer rather than zlib's.
  if (deflateInit2(&stream, level, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    Fails("cannot start zlib");
  }
  std::string packed(deflateBound(&stream, static_cast<uLong>(text.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  const int status = deflate(&stream, Z_FINISH);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) Fails("zlib did not compress the text");
  return packed;
}

}  // namespace

LoadedFiles LoadThroughFiles(std::string_view text, int level) {
  static const std::string base =
      (std::filesystem::temp_directory_path() / ("kelvox-ids-fuzz-" + std::to_string(::getpid())))
          .string();
  LoadedFiles loaded;
  loaded.plain_path = base + ".ids";
  loaded.packed_path = base + ".ids.gz";
  WriteFile(loaded.plain_path, text);
  WriteFile(loaded.packed_path, Gzip(text, level));
  loaded.plain = LoadPciIdsFile(loaded.plain_path);
  loaded.packed = LoadPciIdsFile(loaded.packed_path);
  // A list keeps what it read; the names are not needed once it is loaded.
  std::remove(loaded.plain_path.c_str());
  std::remove(loaded.packed_path.c_str());
  return loaded;
}

}  // namespace kelvox::fuzz

// The output-file writer's system calls on Windows: no folder of the process's descriptors, no
// FIFOs, no owners and no POSIX permission bits on an open file (the read-only attribute is the
// only one, and a file just created is writable by its maker), and folders that need no sync.
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>

#include "files/output_platform.h"

namespace kelvox::output_platform {

std::optional<int> OwnDescriptor(const std::filesystem::path&) { return std::nullopt; }

int StatName(const std::string& path, struct stat& st) { return stat(path.c_str(), &st); }

// MinGW's mkstemp opens the file binary, as every file here is written.
int CreateTemporary(char* pattern) { return mkstemp(pattern); }

int OpenInPlace(const std::string& path, bool, bool truncate) {
  return open(path.c_str(), O_WRONLY | O_BINARY | O_NOINHERIT | (truncate ? O_TRUNC : 0));
}

int Blocking(int) { return 0; }

int SyncFile(int fd) { return _commit(fd) == 0 ? 0 : errno; }

int SyncFolder(const std::filesystem::path&) { return 0; }

bool MayTakeOwner(const struct stat&) { return true; }

int TakeOwnerAndMode(int, const struct stat&) { return 0; }

int SetMode(int, mode_t) { return 0; }

}  // namespace kelvox::output_platform

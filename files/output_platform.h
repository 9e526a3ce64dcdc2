// The system calls of the output-file writer (output_file.cpp) that differ between POSIX
// systems (output_platform_posix.cpp) and Windows (output_platform_win32.cpp). Each returns 0
// or an errno value unless it says otherwise; the rules of what is written how are all in
// output_file.cpp.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace kelvox::output_platform {

// The descriptor N when `name` is the entry N of the kernel's folder of this process's own
// descriptors (/proc/self/fd, /dev/fd, /proc/thread-self/fd, or any path that leads there);
// nothing for any other name, and always nothing where there is no such folder.
std::optional<int> OwnDescriptor(const std::filesystem::path& name);

// What `path` itself is, a link not followed (lstat(2)); -1 with errno on failure.
int StatName(const std::string& path, struct stat& st);

// Creates and opens for writing a new file named from `pattern`, whose trailing "XXXXXX" it
// replaces (mkstemp(3)), not inherited by programs started later; -1 with errno on failure.
int CreateTemporary(char* pattern);

// Opens an existing file for writing where it is: without waiting for a reader when `fifo`
// (a FIFO with none then fails with ENXIO), emptied first when `truncate`; -1 with errno.
int OpenInPlace(const std::string& path, bool fifo, bool truncate);

// Makes writes to `fd`, opened without waiting, wait again.
int Blocking(int fd);

// Flushes the file's data to the disk.
int SyncFile(int fd);

// Syncs a folder ("" for the current one), so that a rename in it survives a crash.
int SyncFolder(const std::filesystem::path& folder);

// True when a file created by this process can be given `old`'s owner.
bool MayTakeOwner(const struct stat& old);

// Gives the file open at `fd` the owner and group of `old`, then `old`'s permission bits.
int TakeOwnerAndMode(int fd, const struct stat& old);

// Gives the file open at `fd` the permission bits `mode`.
int SetMode(int fd, mode_t mode);

}  // namespace kelvox::output_platform

// Windows: the few POSIX file calls the file-reading backends and their tests use that the
// MinGW run time lacks or spells differently. Included ahead of every source of the
// configuration library, and of everything built on it, when it is built for Windows. Under Wine
// these calls reach the host's files, so the sysfs access reads the real /sys tree there.
#pragma once

#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include <sys/types.h>

#include <cstddef>

// Descriptors are binary (no newline or end-of-file translation) and not inherited by child
// processes, which is what close-on-exec means for a program that starts others.
#ifndef O_CLOEXEC
#define O_CLOEXEC (O_BINARY | O_NOINHERIT)
#endif

// An open of a file never waits on Windows (it has no FIFO an open could block on).
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif

// Reads up to `count` bytes at `offset` without moving the descriptor's position; -1 with errno
// on failure, as pread(2).
ssize_t pread(int fd, void* buffer, size_t count, off_t offset);

// Flushes the descriptor's file to the disk, as fsync(2).
inline int fsync(int fd) { return _commit(fd); }

// Windows keeps no POSIX mode on an open file; the read-only attribute is the only bit it has,
// and a file just created is writable by its maker, so there is nothing to change.
inline int fchmod(int, mode_t) { return 0; }

#endif  // _WIN32

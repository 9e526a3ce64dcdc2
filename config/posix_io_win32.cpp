#ifdef _WIN32

#include "config/posix_io_win32.h"

#include <windows.h>

#include <cerrno>
#include <cstdint>

ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  const intptr_t handle = _get_osfhandle(fd);
  if (handle == -1) {
    errno = EBADF;
    return -1;
  }
  if (offset < 0) {
    errno = EINVAL;
    return -1;
  }
  // The read moves the handle's position; put it back so the descriptor's own reads are as
  // before.
  const __int64 position = _lseeki64(fd, 0, SEEK_CUR);
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset) & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
  const DWORD wanted = count > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(count);
  DWORD got = 0;
  const BOOL ok = ReadFile(reinterpret_cast<HANDLE>(handle), buffer, wanted, &got, &at);
  const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
  if (position >= 0) _lseeki64(fd, position, SEEK_SET);
  if (!ok) {
    if (error == ERROR_HANDLE_EOF) return 0;
    errno = error == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return -1;
  }
  return static_cast<ssize_t>(got);
}

#endif  // _WIN32

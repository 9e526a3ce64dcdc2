#ifdef _WIN32

#include "config/posix_io_win32.h"

#include <direct.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

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

char* mkdtemp(char* name_template) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  const size_t length = std::strlen(name_template);
  if (length < 6 || std::strcmp(name_template + length - 6, "XXXXXX") != 0) {
    errno = EINVAL;
    return nullptr;
  }
  uint64_t seed = GetTickCount64() ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 32) ^
                  reinterpret_cast<uintptr_t>(name_template);
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (size_t i = length - 6; i < length; ++i) {
      seed = seed * 6364136223846793005u + 1442695040888963407u;
      name_template[i] = kLetters[(seed >> 33) % (sizeof kLetters - 1)];
    }
    if (_mkdir(name_template) == 0) return name_template;
    if (errno != EEXIST) return nullptr;
  }
  errno = EEXIST;
  return nullptr;
}

#endif  // _WIN32

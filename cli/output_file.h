// Writing the output file a command was asked for, replacing only what was asked for:
// - a regular file is replaced atomically: the text goes to a temporary file in the file's own
//   folder, which is synced and renamed over it, so a reader sees either the old file or the
//   whole new one; the new file keeps the old one's permissions (and its owner and group, where
//   the process may set them);
// - a new file gets the permissions a newly created file gets (0666 less the umask);
// - a symbolic link is followed to its final target, which is replaced as above; the link stays;
// - a device, FIFO or other special file is opened and written in place (/dev/stdout,
//   /dev/null, a named pipe with a reader);
// - a folder, a file the user may not write, or a regular file without any write permission
//   (even for root) is refused, and nothing is changed.
// On Windows (output_file_win32.cpp) the file is always written through a temporary file
// renamed over it.
#pragma once

#include <string>
#include <string_view>

namespace kelvox::cli {

// Writes `text` to `path` as described above. Returns "" on success, else a one-line reason:
// "cannot write PATH: <why>".
std::string WriteOutputFile(const std::string& path, std::string_view text);

}  // namespace kelvox::cli

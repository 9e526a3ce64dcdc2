// Writing the output file a command was asked for (`capture -o FILE`), replacing only what was
// asked for:
// - a path that leads to one of the program's own open descriptors (/dev/stdout, /dev/stderr,
//   /dev/fd/N, /proc/self/fd/N, or a link to one: any name whose folder is, once every link is
//   followed, the kernel's folder of this process's descriptors) is written through that
//   descriptor itself, at its current offset or appended when it was opened to append, and
//   never replaced: `capture -o /dev/stdout >> log` adds to the log, and
//   `{ echo A; capture -o /dev/stdout; echo B; } > f` keeps A and B around the capture;
// - a regular file is replaced atomically: the text goes to a temporary file in the file's own
//   folder, which is synced and renamed over it, so a reader sees either the old file or the
//   whole new one; the new file keeps the old one's permissions, owner and group;
// - a regular file the rename could not give back its owner or group (one owned by another
//   user, where the process is not root), or one whose folder does not let the process create
//   the temporary file or rename it (a folder it may not write, another user's file in a sticky
//   folder such as /tmp), is truncated and written in place, keeping its owner and permissions;
// - a new file gets the permissions a newly created file gets (0666 less the umask);
// - a symbolic link is followed to its final target, which is replaced as above; the link stays;
// - a device, FIFO or other special file is opened and written in place (/dev/null, a named
//   pipe with a reader);
// - a folder, a file the user may not write, or a regular file without any write permission
//   (even for root) is refused, and nothing is changed.
// Windows has no descriptor folder, no owners to keep and no links followed here; the rest is
// the same.
#pragma once

#include <string>
#include <string_view>

namespace kelvox {

// Writes `text` to `path` as described above. Returns "" on success, else a one-line reason
// naming the path, its control bytes escaped: "cannot write PATH: <why>".
std::string WriteOutputFile(const std::string& path, std::string_view text);

// The mkstemp(3) pattern of the temporary file that replaces `target`: a hidden name in the
// target's own folder, as the system splits paths (on Windows at '\' as well as '/').
std::string TemporaryPattern(const std::string& target);

}  // namespace kelvox

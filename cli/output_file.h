// Writing an output file all at once: the text goes to a temporary file in the same folder,
// which is then renamed over the target, so a reader sees either the old file or the whole new
// one, and a failure leaves no partial file behind.
#pragma once

#include <string>
#include <string_view>

namespace kelvox::cli {

// Writes `text` to `path` atomically, with the permissions a newly created file gets (0666
// less the umask). Returns "" on success, else a one-line reason: "cannot write PATH: <system
// message>".
std::string WriteFileAtomically(const std::string& path, std::string_view text);

}  // namespace kelvox::cli

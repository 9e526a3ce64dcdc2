#include "config/capture/capture_file.h"

#include "config/capture/capture_text.h"

namespace kelvox {

std::optional<std::string> ReadCaptureFile(const std::string& path, std::string& error,
                                           std::chrono::milliseconds pipe_wait) {
  return ReadNamedFile(path, {kMaxCaptureBytes, "too large for a captured bus", pipe_wait}, error);
}

}  // namespace kelvox

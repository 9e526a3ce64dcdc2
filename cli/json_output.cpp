#include "cli/json_output.h"

namespace kelvox::cli {

Json ValueAndText(int64_t value, std::string_view text) {
  return {{"value", value}, {"text", text}};
}

Json JsonDocument(std::string_view command) {
  return {{"command", command}, {"version", kJsonVersion}};
}

std::string JsonText(const Json& document) {
  // A name that is not valid UTF-8 is replaced rather than failing the whole document.
  return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace kelvox::cli

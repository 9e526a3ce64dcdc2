// How kelvox-cli writes its --json documents: one JSON object per run, UTF-8 on standard
// output, field names in English, numbers as numbers, each register-derived field as the
// number it was read as next to the text the window shows for it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace kelvox::cli {

// Objects keep their fields in the order they are set, so documents read in a fixed order.
using Json = nlohmann::ordered_json;

// The version of every document's layout; it changes only when a field changes meaning or is
// removed.
inline constexpr int kJsonVersion = 1;

// {"value": value, "text": text}.
Json ValueAndText(int64_t value, std::string_view text);

// {"command": command, "version": kJsonVersion}, the head of every document.
Json JsonDocument(std::string_view command);

// The document as text: indented by two blanks, non-ASCII characters as they are (UTF-8),
// ending in a newline.
std::string JsonText(const Json& document);

}  // namespace kelvox::cli

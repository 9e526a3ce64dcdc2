// Pieces of text joined into one string that is sized once. `a + b + c + d` on std::string
// grows its result piece by piece, and past 15 bytes each growth is an allocation and a copy;
// the decoders write hundreds of such lines for every function they read.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kelvox {

inline std::string ConcatViews(std::initializer_list<std::string_view> pieces) {
  size_t length = 0;
  for (const std::string_view piece : pieces) length += piece.size();
  std::string text;
  text.reserve(length);
  for (const std::string_view piece : pieces) text.append(piece);
  return text;
}

inline void ConcatViewsTo(std::string& text, std::initializer_list<std::string_view> pieces) {
  size_t length = text.size();
  for (const std::string_view piece : pieces) length += piece.size();
  text.reserve(length);
  for (const std::string_view piece : pieces) text.append(piece);
}

// Each piece is anything a std::string_view is made from: a literal, a std::string, a view.
template <typename... Pieces>
std::string Concat(const Pieces&... pieces) {
  return ConcatViews({std::string_view(pieces)...});
}

// The pieces appended to `text`, which grows once at most. No piece may view `text` itself:
// growing it would leave that view pointing at freed bytes.
template <typename... Pieces>
void ConcatTo(std::string& text, const Pieces&... pieces) {
  ConcatViewsTo(text, {std::string_view(pieces)...});
}

}  // namespace kelvox

// One field of a details page: the control it fills, the label beside it and its text.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kelvox {

struct DetailsField {
  int id = 0;              // control identifier on its page
  std::string_view label;  // the field's own label; empty when it has none
  std::string text;
};

// The field with control identifier `id` on a page, or null.
const DetailsField* FindField(std::span<const DetailsField> page, int id);

}  // namespace kelvox

#include "details/details_field.h"

namespace kelvox {

const DetailsField* FindField(std::span<const DetailsField> page, int id) {
  for (const DetailsField& field : page) {
    if (field.id == id) return &field;
  }
  return nullptr;
}

}  // namespace kelvox

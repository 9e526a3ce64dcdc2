#include "iddb/name_source.h"

namespace kelvox {

namespace {
std::shared_ptr<const PciIdList>& Active() {
  static std::shared_ptr<const PciIdList> list;
  return list;
}
}  // namespace

void UseEmbeddedIdList() { Active().reset(); }

void UseIdList(std::shared_ptr<const PciIdList> list) { Active() = std::move(list); }

const PciIdList* ActiveIdList() { return Active().get(); }

}  // namespace kelvox

// A PciIdList's names are views into its own text, so a list is never copied or moved: a copy
// would view the text of the list it came from, and so would a move of a text short enough to
// sit inside the std::string itself. Lists travel by pointer.
#include "iddb/pci_id_list.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "iddb/pci_ids_reader.h"

namespace kelvox {
namespace {

TEST(PciIdList, IsNeitherCopiedNorMovedButHeldByPointer) {
  static_assert(!std::is_copy_constructible_v<PciIdList>);
  static_assert(!std::is_copy_assignable_v<PciIdList>);
  static_assert(!std::is_move_constructible_v<PciIdList>);
  static_assert(!std::is_move_assignable_v<PciIdList>);

  // A text short enough to sit inside its std::string: the names stay valid wherever the list
  // is handed on.
  std::shared_ptr<const PciIdList> kept;
  {
    PciIdsRead read = ReadPciIds(std::string("1af4  Red Hat\n"), "short.ids");
    ASSERT_EQ(read.error, "");
    kept = read.list;
  }
  std::string_view short_name = "x", full_name = "x";
  ASSERT_TRUE(kept->FindVendor(0x1af4, short_name, full_name));
  EXPECT_EQ(full_name, "Red Hat");
  EXPECT_EQ(short_name, "");
}

}  // namespace
}  // namespace kelvox

// The C++ source the table generator writes: the three constant tables and their accessors
// (declared in iddb/tables.h), each name a string literal whose bytes are exactly the name's.
#pragma once

#include <string>
#include <string_view>

#include "iddb/generator/id_lists.h"

namespace kelvox::iddb_gen {

// A C++ string literal ("...") holding exactly `bytes`: printable ASCII stays as it is, except
// the quote, the backslash and the question mark (no trigraph can form), which are escaped;
// every other byte is a three-digit octal escape, so a following digit can never join it.
std::string CppStringLiteral(std::string_view bytes);

// The whole generated source file for `lists`.
std::string TableSource(const IdLists& lists);

}  // namespace kelvox::iddb_gen

#include "cli/ids_option.h"

#include "iddb/ids_choice.h"
#include "iddb/name_source.h"

namespace kelvox::cli {

std::string UseIdsOption(const ParsedOptions& options) {
  const std::optional<std::string> value = options.Text(kIdsOption.name);
  if (!value) {
    UseEmbeddedIdList();
    return {};
  }
  IdsChoice choice = LoadIdsChoice(*value);
  if (!choice.ok()) {
    UseEmbeddedIdList();
    // The "system" message names the option already; a file's names the file and line.
    return choice.error.starts_with("--ids") ? choice.error : "--ids: " + choice.error;
  }
  UseIdList(std::move(choice.list));
  return {};
}

}  // namespace kelvox::cli

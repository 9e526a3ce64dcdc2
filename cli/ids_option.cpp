#include "cli/ids_option.h"

#include <cstdlib>
#include <ostream>

#include "cli/command.h"
#include "iddb/ids_choice.h"
#include "iddb/name_source.h"

namespace kelvox::cli {

namespace {

// Loads `value` as --ids takes it; the message of a failure names `origin` ("--ids",
// "KELVOX_IDS").
std::string Use(std::string_view value, std::string_view origin) {
  IdsChoice choice = LoadIdsChoice(value);
  if (!choice.ok()) {
    UseEmbeddedIdList();
    // The "system" message names the option already; a file's names the file and line.
    if (choice.error.starts_with("--ids")) {
      return std::string(origin) + choice.error.substr(std::string_view("--ids").size());
    }
    return std::string(origin) + ": " + choice.error;
  }
  UseIdList(std::move(choice.list));
  return {};
}

}  // namespace

std::string UseIdsOption(const ParsedOptions& options, std::ostream& err) {
  if (const std::optional<std::string> value = options.Text("--ids")) return Use(*value, "--ids");
  const char* variable = std::getenv(kIdsVariable);
  if (variable != nullptr && *variable != '\0') return Use(variable, kIdsVariable);
  if (!FindSystemIdList()) {
    UseEmbeddedIdList();
    return {};
  }
  if (const std::string error = Use("system", "--ids"); !error.empty()) {
    Warn(err, "warning: " + error + "; names from the embedded list instead");
  }
  return {};
}

Json IdListJson() {
  const PciIdList* list = ActiveIdList();
  Json json = Json::object();
  json["source"] = list == nullptr ? "embedded" : list->source;
  json["version"] = list == nullptr ? kEmbeddedListVersion : list->version;
  return json;
}

}  // namespace kelvox::cli

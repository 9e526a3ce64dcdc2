// With the distribution's list, kelvox-cli list names every function of this machine as lspci
// does (lspci -mm -nn: the names lspci -nn prints, one quoted field each). lspci prints a
// vendor or device name whole, where kelvox splits "A [B]" into two fields, and names a class
// by its sub-class (or base class when the sub-class has no name); the comparison joins the
// fields back the same way. Skipped without sysfs, lspci or an installed pci.ids.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "cli/list_command.h"
#include "cli/testing/command_run.h"
#include "iddb/ids_choice.h"
#include "testsupport/environment_value.h"
#include "testsupport/run_program.h"

namespace kelvox::cli {
namespace {

// The quoted fields of one `lspci -mm -nn` line, each without its trailing " [xxxx]" ID.
std::vector<std::string> QuotedFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t at = 0;
  while ((at = line.find('"', at)) != std::string::npos) {
    const size_t end = line.find('"', at + 1);
    if (end == std::string::npos) break;
    std::string field = line.substr(at + 1, end - at - 1);
    const size_t id = field.rfind(" [");
    if (id != std::string::npos && field.ends_with("]")) field.resize(id);
    fields.push_back(field);
    at = end + 1;
  }
  return fields;
}

std::string Whole(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + " [" + b + "]";
}

TEST(LspciNames, ListWithTheSystemListNamesEveryFunctionAsLspciDoes) {
  if (!std::filesystem::exists("/sys/bus/pci/devices")) GTEST_SKIP() << "no sysfs";
  if (!FindSystemIdList()) GTEST_SKIP() << "no pci.ids installed";
  const std::string lspci = kelvox::testing::RunProgram({"lspci", "-mm", "-nn"}).out;
  if (lspci.empty()) GTEST_SKIP() << "no lspci, or it sees no functions";

  const auto run = testing::RunCommand(RunList, {"--ids", "system", "--json"}, OpenSourceAccess);
  ASSERT_EQ(run.status, 0) << run.err;
  const Json document = Json::parse(run.out);
  std::map<std::string, Json> ours;
  for (const Json& function : document["functions"]) ours[function["address"]] = function;

  int compared = 0;
  std::istringstream lines(lspci);
  for (std::string line; std::getline(lines, line);) {
    const std::string address = line.substr(0, line.find(' '));
    // A function outside PCI domain 0000 is shown with its domain; kelvox lists domain 0000.
    if (address.size() != 7) continue;
    ASSERT_TRUE(ours.contains(address)) << address << " is not listed";
    const Json& f = ours[address];
    const std::vector<std::string> fields = QuotedFields(line);
    ASSERT_GE(fields.size(), 3u) << line;
    const std::string vendor = Whole(f["vendor_full_name"], f["vendor_short_name"]);
    const std::string device = Whole(f["chip_name"], f["device_description"]);
    const std::string sub_class = f["sub_class_name"], base_class = f["base_class_name"];
    const std::string class_name = sub_class.empty() ? base_class : sub_class;
    // Where the list has no name lspci says "Class", "Vendor" or "Device" (its ID cut off above).
    const auto expect = [](const std::string& name, const std::string& lspci_word,
                           const std::string& theirs) {
      const bool unnamed = theirs == lspci_word || theirs.starts_with(lspci_word + " ");
      return name.empty() && unnamed ? theirs : name;
    };
    EXPECT_EQ(fields[0], expect(class_name, "Class", fields[0])) << line;
    EXPECT_EQ(fields[1], expect(vendor, "Vendor", fields[1])) << line;
    EXPECT_EQ(fields[2], expect(device, "Device", fields[2])) << line;
    if (f["subsystem_name"].is_string() && fields.size() >= 5) {
      EXPECT_EQ(fields[4], f["subsystem_name"]) << line;
    }
    ++compared;
  }
  EXPECT_EQ(compared, static_cast<int>(ours.size()));
}

// Without --ids or KELVOX_IDS the terminal names things from the distribution's list, and its
// one-line text writes each vendor as lspci does: whole.
TEST(LspciNames, ListWithNoOptionNamesVendorsAsLspciDoes) {
  if (!std::filesystem::exists("/sys/bus/pci/devices")) GTEST_SKIP() << "no sysfs";
  if (!FindSystemIdList()) GTEST_SKIP() << "no pci.ids installed";
  const std::string lspci = kelvox::testing::RunProgram({"lspci", "-mm"}).out;
  if (lspci.empty()) GTEST_SKIP() << "no lspci, or it sees no functions";
  const kelvox::testing::EnvironmentValue no_variable("KELVOX_IDS", std::nullopt);
  const auto run = testing::RunCommand(RunList, {}, OpenSourceAccess);
  ASSERT_EQ(run.status, 0) << run.err;
  std::map<std::string, std::string> ours;
  for (const std::string& line : testing::Lines(run.out)) ours[line.substr(0, 7)] = line;
  std::istringstream lines(lspci);
  int compared = 0;
  for (std::string line; std::getline(lines, line);) {
    const std::string address = line.substr(0, line.find(' '));
    if (address.size() != 7) continue;
    const std::vector<std::string> fields = QuotedFields(line);
    ASSERT_GE(fields.size(), 2u) << line;
    EXPECT_NE(ours[address].find("  " + fields[1] + " | "), std::string::npos)
        << ours[address] << "\n"
        << line;
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace kelvox::cli

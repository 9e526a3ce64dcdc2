// The window program's --ids option.
#include <gtest/gtest.h>

#include "ui/app_options.h"

namespace kelvox {
namespace {

TEST(AppIdsOption, TakesTheNextArgumentOrAnEqualsSign) {
  EXPECT_FALSE(ParseAppOptions({}).options.ids.has_value());
  auto parsed = ParseAppOptions({"--ids", "system", "--source=sysfs"});
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.ids, "system");
  EXPECT_EQ(parsed.options.source, "sysfs");
  parsed = ParseAppOptions({"--ids=/tmp/pci.ids.gz"});
  EXPECT_EQ(parsed.options.ids, "/tmp/pci.ids.gz");
  EXPECT_EQ(ParseAppOptions({"--ids"}).error, "kelvox: --ids needs embedded, system or FILE");
  EXPECT_EQ(ParseAppOptions({"--ids="}).error, "kelvox: --ids needs embedded, system or FILE");
  EXPECT_EQ(ParseAppOptions({"--source"}).error,
            "kelvox: --source needs sysfs, sysfs:DIR, port, cfgmgr or FILE");
}

}  // namespace
}  // namespace kelvox

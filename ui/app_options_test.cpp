#include "ui/app_options.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

TEST(AppOptions, NoArgumentsMeansTheDefaultBackend) {
  const auto parsed = ParseAppOptions({});
  EXPECT_TRUE(parsed.error.empty());
  EXPECT_FALSE(parsed.options.source.has_value());
  EXPECT_FALSE(parsed.options.measure_startup);
}

TEST(AppOptions, SourceTakesTheNextArgumentOrAnEqualsSign) {
  auto parsed = ParseAppOptions({"--source", "capture.txt", "--measure-startup"});
  EXPECT_TRUE(parsed.error.empty());
  EXPECT_EQ(parsed.options.source, "capture.txt");
  EXPECT_TRUE(parsed.options.measure_startup);
  parsed = ParseAppOptions({"--source=sysfs"});
  EXPECT_EQ(parsed.options.source, "sysfs");
}

TEST(AppOptions, AMissingSourceOrAnUnknownArgumentIsAnError) {
  EXPECT_FALSE(ParseAppOptions({"--source"}).error.empty());
  EXPECT_FALSE(ParseAppOptions({"--source="}).error.empty());
  const auto parsed = ParseAppOptions({"-x"});
  EXPECT_NE(parsed.error.find("'-x'"), std::string::npos);
  EXPECT_NE(parsed.error.find("usage"), std::string::npos);
}

}  // namespace
}  // namespace kelvox

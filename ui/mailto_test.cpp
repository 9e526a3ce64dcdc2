#include "ui/mailto.h"

#include <gtest/gtest.h>

#include "ui/about_dialog.h"

namespace kelvox {
namespace {

TEST(EscapeMailBody, EscapesBlanksThenLineBreaksAndNothingElse) {
  EXPECT_EQ(EscapeMailBody("Kelvox V1.06"), "Kelvox%20V1.06");
  EXPECT_EQ(EscapeMailBody("a b\r\nc"), "a%20b%0D%0Ac");
  EXPECT_EQ(EscapeMailBody("  "), "%20%20");
  // A lone line feed, a percent sign, '&' and '?' are left as they are.
  EXPECT_EQ(EscapeMailBody("x\ny%&?"), "x\ny%&?");
  EXPECT_EQ(EscapeMailBody(""), "");
}

TEST(BuildContactMailto, PutsSubjectBeforeBodyWithTheSubjectUnescaped) {
  EXPECT_EQ(BuildContactMailto("me@example.org", "Kelvoxについて", "Kelvox V1.06"),
            "mailto:me@example.org?subject=Kelvoxについて&body=Kelvox%20V1.06");
  EXPECT_EQ(BuildContactMailto("a@b", "a b", "1\r\n2"), "mailto:a@b?subject=a b&body=1%0D%0A2");
}

TEST(ContactLink, UsesTheBuildsContactAddressAndTheVersion) {
  EXPECT_EQ(ContactLink(VersionString()), std::string("mailto:") + KELVOX_CONTACT_ADDRESS +
                                              "?subject=Kelvoxについて&body=Kelvox%20V1.06");
  EXPECT_EQ(ContactLink(""),
            std::string("mailto:") + KELVOX_CONTACT_ADDRESS + "?subject=Kelvoxについて&body=");
}

}  // namespace
}  // namespace kelvox

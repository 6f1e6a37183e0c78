#include <gtest/gtest.h>

#include "net/cookies.h"

namespace lecdl {
namespace {

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
  const std::pair<const char*, const char*> cases[] = {
      {"a=1", "a"}, {" n =v", "n"}, {"a=b=c", "a"}, {"=v", ""}, {"flag", "flag"}, {"", ""},
  };
  for (const auto& [entry, name] : cases) EXPECT_EQ(CookieName(entry), name) << entry;
}

struct MergeCase {
  const char* jar;
  const char* received;
  const char* mergedJar;
  const char* receivedAfter;
};

TEST(MergeCookies, ReceivedCookiesLeadAndReplaceOldOnesOfTheSameName) {
  const MergeCase cases[] = {
      {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
      {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
      {"z=9", "a=1; a=2", "a=1; a=2; z=9", "a=1;a=2"},  // both received entries stay
      {"x=1; x=2", "", "x=1", ""},                      // only the first old one of a name
      {"", "a=1; a=1", "a=1", "a=1;a=1"},               // exact duplicates removed
      {"t=a b", "", "t=ab", ""},
      {"t=a\xA1\xA1" "b", "", "t=ab", ""},  // full-width space removed as well
      {"", "a=1; ; b=2", "a=1; ; b=2", "a=1;;b=2"},  // a Set-Cookie line without ";"
      {"A=1", "a=2", "a=2; A=1", "a=2"},             // names compare with letter case
      {"flag; a=1", "flag", "flag; a=1", "flag"},    // an entry without "=" is its own name
      {"a=1;", "", "a=1", ""},
      {"a=1; b=deleted", "", "a=1", ""},
      {"", "", "", ""},
  };
  for (const MergeCase& c : cases) {
    std::string jar = c.jar;
    std::string received = c.received;
    const std::string returned = MergeCookies(jar, received);
    EXPECT_EQ(jar, c.mergedJar) << "jar '" << c.jar << "' received '" << c.received << "'";
    EXPECT_EQ(received, c.receivedAfter) << "jar '" << c.jar << "' received '" << c.received << "'";
    EXPECT_EQ(returned, jar);
  }
}

}  // namespace
}  // namespace lecdl

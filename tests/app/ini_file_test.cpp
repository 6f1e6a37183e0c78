#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/hosts.h"

namespace lecdl {
namespace {

TEST(IniFile, ReadsValuesIgnoringNameCaseAndBlanks) {
  const IniFile ini("; comment\r\n[PZXM]\r\nLJ = D:\\\xCA\xD3\xC6\xB5 \r\n[other]\r\nLJ=x\r\n");
  EXPECT_EQ(ini.Value("pzxm", "lj"), "D:\\\xCA\xD3\xC6\xB5");
  EXPECT_EQ(ini.Value("other", "LJ"), "x");
  EXPECT_EQ(ini.Value("PZXM", "LJ1"), std::nullopt);
  EXPECT_EQ(ini.Value("missing", "LJ"), std::nullopt);
  EXPECT_EQ(IniFile().Value("PZXM", "LJ"), std::nullopt);
}

TEST(IniFile, WritingOneKeyLeavesEveryOtherLineAsItWas) {
  struct Case {
    std::string before;
    std::string section, key, value;
    std::string after;
  };
  const Case cases[] = {
      // replace in place, CRLF and comments kept
      {"; c\r\n[PZXM]\r\nLJ=old\r\nLJ1=b\r\n\r\n[X]\r\nk=v\r\n", "PZXM", "LJ", "new",
       "; c\r\n[PZXM]\r\nLJ=new\r\nLJ1=b\r\n\r\n[X]\r\nk=v\r\n"},
      // a new key goes after the section's last entry, before its blank lines
      {"[PZXM]\r\nLJ=a\r\n\r\n[X]\r\n", "pzxm", "LJ1", "b", "[PZXM]\r\nLJ=a\r\nLJ1=b\r\n\r\n[X]\r\n"},
      // a new section is appended
      {"[X]\nk=v\n", "PZXM", "LJ", "a", "[X]\nk=v\n[PZXM]\nLJ=a\n"},
      {"[X]\nk=v", "PZXM", "LJ", "a", "[X]\nk=v\n[PZXM]\nLJ=a\n"},
      {"", "PZXM", "LJ", "a", "[PZXM]\r\nLJ=a\r\n"},
      // an empty section header gets its first key right below it
      {"[PZXM]\r\n[X]\r\n", "PZXM", "LJ", "", "[PZXM]\r\nLJ=\r\n[X]\r\n"},
  };
  for (const Case& c : cases) {
    IniFile ini(c.before);
    ini.SetValue(c.section, c.key, c.value);
    EXPECT_EQ(ini.Content(), c.after) << c.before;
    EXPECT_EQ(ini.Value(c.section, c.key), c.value);
  }
}

TEST(IniFile, SaveAndLoadRoundTrip) {
  const auto dir = std::filesystem::temp_directory_path() / ("lecdl-ini-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto path = dir / "ini.ini";
  IniFile ini = IniFile::Load(path);  // missing: empty
  EXPECT_EQ(ini.Content(), "");
  ini.SetValue("PZXM", "LJ", "\xD6\xD0");
  ASSERT_TRUE(ini.Save(path));
  EXPECT_EQ(IniFile::Load(path).Value("PZXM", "LJ"), "\xD6\xD0");
  EXPECT_FALSE(std::filesystem::exists(dir / "ini.ini.tmp"));
  EXPECT_FALSE(ini.Save(dir / "no-such-folder" / "ini.ini"));
  std::filesystem::remove_all(dir);
}

TEST(Hosts, DefaultsAndOverrides) {
  const Hosts defaults = ReadHosts(IniFile());
  EXPECT_EQ(defaults.site, "127.0.0.1:8765");
  EXPECT_EQ(defaults.feedback, "http://127.0.0.1:8765/feedback");
  const Hosts hosts = ReadHosts(IniFile("[HOSTS]\nsite=example.org\nvideo=\nstats=s:81\n"));
  EXPECT_EQ(hosts.site, "example.org");
  EXPECT_EQ(hosts.video, "127.0.0.1:8765");  // an empty value keeps the default
  EXPECT_EQ(hosts.stats, "s:81");
}

}  // namespace
}  // namespace lecdl

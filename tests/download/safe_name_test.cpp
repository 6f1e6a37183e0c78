#include "app/path_text.h"
#include "download/safe_name.h"

#include <gtest/gtest.h>

#include "download/progress_text.h"
#include "text/encoding.h"

namespace lecdl {
namespace {

std::string G(std::string_view utf8) { return Utf8ToGbk(utf8); }

TEST(SafeName, Table) {
  const std::pair<std::string, std::string> cases[] = {
      {G("第1讲 绪论"), G("第1讲 绪论")},      // already safe: unchanged
      {"a.b c", "a.b c"},
      {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
      {"../../x", "____x"},
      {"\xB0/x", "\xB0_x"},  // a lead byte without its trail does not shelter a "/"
      {"..", "_"},
      {".", "_"},
      {"a...b", "a_b"},
      {"tail. . ", "tail"},
      {"", "_"},
      {"   ", "_"},
      {"x\x01y\x7F", "x_y_"},
      {"CON", "_CON"},
      {"nul.flv", "_nul.flv"},
      {"com1", "_com1"},
      {"CONSOLE", "CONSOLE"},
      {"\xB0\\x", "\xB0\\x"},  // 0x5C as the trail byte of a GBK character is not a separator
      {"\xD6", "\xD6"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(SafeName(in), out) << GbkToUtf8(in);
}

TEST(SafeName, LongNamesAreCutToWholeCharacters) {
  std::string longTitle;
  for (int i = 0; i < 300; ++i) longTitle += G("长");
  const std::string name = SafeName(longTitle + "x");
  EXPECT_LE(GbkToUtf8(name).size(), kMaxNameBytes);
  EXPECT_EQ(name.size() % 2, 0u);  // never half a character
  EXPECT_EQ(GbkToUtf8(name).find("\xEF\xBF\xBD"), std::string::npos);
  EXPECT_EQ(SafeName(std::string(500, 'a')).size(), kMaxNameBytes);
}

TEST(SafeName, AlwaysOneComponentInsideTheFolder) {
  // Whatever the bytes, the name is one component that stays inside the folder.
  for (int seed = 0; seed < 2000; ++seed) {
    std::string title;
    for (int i = 0; i < seed % 40; ++i) title.push_back(static_cast<char>((seed * 131 + i * 71) % 256));
    if (seed % 3 == 0) title += "/../..";
    const std::string name = SafeName(title);
    const std::filesystem::path path = std::filesystem::path("/save") / TextPath(name);
    EXPECT_EQ(path.parent_path(), "/save") << seed;
    EXPECT_NE(name, "..");
    EXPECT_FALSE(name.empty());
  }
}

TEST(DistinctSafeNames, NumbersNamesThatWouldCollide) {
  const std::vector<std::string> titles = {"a", "b", "a", "A", "a?", "a_", "a (2)"};
  EXPECT_EQ(DistinctSafeNames(titles),
            (std::vector<std::string>{"a", "b", "a (2)", "A (3)", "a_", "a_ (2)", "a (2) (2)"}));
  std::vector<std::string> longTitles(3, std::string(300, 'x'));
  const auto names = DistinctSafeNames(longTitles);
  EXPECT_EQ(names[1].size(), kMaxNameBytes);
  EXPECT_EQ(names[1].substr(names[1].size() - 4), " (2)");
}

TEST(ProgressText, Table) {
  EXPECT_EQ(ProgressText(1234567, 10000000), "12.35%");
  EXPECT_EQ(ProgressText(505, 1000), "50.5%");
  EXPECT_EQ(ProgressText(1000, 1000), "100%");
  EXPECT_EQ(ProgressText(0, 1000), "0%");
  EXPECT_EQ(ProgressText(1, 3), "33.33%");
  EXPECT_EQ(ProgressText(2, 3), "66.67%");
  EXPECT_EQ(ProgressText(5, 0), "");   // size unknown: no endless percentage
  EXPECT_EQ(ProgressText(5, -1), "");
}

}  // namespace
}  // namespace lecdl

#include "text/text.h"

#include <gtest/gtest.h>

#include <string>

namespace lecdl {
namespace {

// GBK bytes used below: 中 = D6 D0, a full-width space = A1 A1.
const std::string kZhong = "\xD6\xD0";
const std::string kWideSpace = "\xA1\xA1";

struct FindCase {
  std::string text;
  std::string sub;
  int start;
  bool ignoreCase;
  int expected;
};

TEST(FindText, Table) {
  const FindCase cases[] = {
      {"abcabc", "bc", 1, false, 2},
      {"abcabc", "bc", 3, false, 5},
      {"abcabc", "bc", 0, false, 2},   // a start below 1 searches from the first byte
      {"abcabc", "bc", -7, false, 2},
      {"abcabc", "bc", 6, false, -1},
      {"abcabc", "bc", 7, false, -1},  // a start beyond the end
      {"abcabc", "BC", 1, false, -1},
      {"abcabc", "BC", 1, true, 2},
      {"abc", "abcd", 1, false, -1},
      {"", "a", 1, false, -1},
      {"abc", "", 1, false, 1},        // an empty sub gives position 1 ...
      {"abc", "", 3, false, 1},        // ... not the start position
      {"abc", "", 4, false, -1},       // ... and -1 when no byte lies at or after the start
      {"", "", 1, false, -1},
      {"\xB0\x42\x30", "B0", 1, false, -1},  // 'B' is the trail byte of the character B0 42
      {"\xB0\x42\x30", "\x42", 1, false, -1},
      {"\xB0\x42\x42", "B", 1, false, 3},
      {"x" + kZhong + "y", kZhong, 1, false, 2},
      {"x" + kZhong + "y", "y", 1, false, 4},
      {"ab\xD6", "\xD6", 1, false, 3},  // a lead byte at the very end is a character of its own
      {"\xC1\x41", "a", 1, true, -1},   // case folding does not create a match on a trail byte
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sub, c.start, c.ignoreCase), c.expected)
        << "text '" << c.text << "' sub '" << c.sub << "' start " << c.start;
  }
}

TEST(FindText, StartInsideADoubleByteCharacterStepsFromThere) {
  // The search starts at the given byte, whatever came before it.
  EXPECT_EQ(FindText("\xB0\x42\x30", "B0", 2), 2);
}

TEST(FindTextReverse, Table) {
  EXPECT_EQ(FindTextReverse("a:b:c", ":"), 4);
  EXPECT_EQ(FindTextReverse("abc", ":"), -1);
  EXPECT_EQ(FindTextReverse("aXbx", "x", true), 4);
  EXPECT_EQ(FindTextReverse("aXb", "x", false), -1);
  EXPECT_EQ(FindTextReverse("aaa", "aa"), 2);
  EXPECT_EQ(FindTextReverse("abc", ""), -1);
  EXPECT_EQ(FindTextReverse("B\xB0\x42", "B"), 1);  // the last 'B' is a trail byte
}

TEST(CutByPosition, Table) {
  EXPECT_EQ(MidText("abcdef", 2, 3), "bcd");
  EXPECT_EQ(MidText("abcdef", 5, 10), "ef");
  EXPECT_EQ(MidText("abcdef", 6, 1), "f");
  EXPECT_EQ(MidText("abcdef", 7, 1), "");
  EXPECT_EQ(MidText("abcdef", 0, 3), "");
  EXPECT_EQ(MidText("abcdef", 2, 0), "");
  EXPECT_EQ(MidText("abcdef", 2, -1), "");
  EXPECT_EQ(MidText(kZhong, 2, 1), "\xD0");  // cuts count bytes, not characters
  EXPECT_EQ(LeftText("abc", 2), "ab");
  EXPECT_EQ(LeftText("abc", 9), "abc");
  EXPECT_EQ(LeftText("abc", 0), "");
  EXPECT_EQ(LeftText("abc", -1), "");
  EXPECT_EQ(RightText("abc", 2), "bc");
  EXPECT_EQ(RightText("abc", 9), "abc");
  EXPECT_EQ(RightText("abc", 0), "");
  EXPECT_EQ(RightText("abc", -3), "");
}

TEST(TrimSpaces, Table) {
  const std::pair<std::string, std::string> cases[] = {
      {"  x  ", "x"},
      {"\t x \t", "\t x \t"},  // only spaces are trimmed
      {kWideSpace + "x" + kWideSpace, "x"},
      {" " + kWideSpace + " a b " + kWideSpace, "a b"},
      {"   ", ""},
      {"", ""},
      {"\r\nx\r\n", "\r\nx\r\n"},
      {"\xB0\xA1\xA1", "\xB0\xA1\xA1"},  // A1 after a lead byte is a trail, not the start of a space
      {"x\xA1", "x\xA1"},                // a lone A1 at the end is no full-width space
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(TrimSpaces(in), out) << "'" << in << "'";
}

struct ReplaceCase {
  std::string text, find, replacement;
  int start, count;
  bool caseSensitive;
  std::string expected;
};

TEST(ReplaceText, Table) {
  const ReplaceCase cases[] = {
      {"a-b-c", "-", "+", 1, Unlimited, true, "a+b+c"},
      {"a-b-c", "-", "", 1, Unlimited, true, "abc"},
      {"a-b-c", "-", "+", 1, 1, true, "a+b-c"},
      {"a-b-c", "-", "+", 3, Unlimited, true, "a-b+c"},  // bytes before the start are kept
      {"a-b-c", "-", "+", 0, Unlimited, true, "a+b+c"},
      {"a-b-c", "-", "+", 99, Unlimited, true, "a-b-c"},
      {"a-b-c", "-", "+", 1, 0, true, "a-b-c"},
      {"a-b-c", "", "+", 1, Unlimited, true, "a-b-c"},
      {"", "-", "+", 1, Unlimited, true, ""},
      {"aaa", "aa", "b", 1, Unlimited, true, "ba"},  // no overlaps
      {"xAx", "a", "b", 1, Unlimited, true, "xAx"},
      {"xAx", "a", "b", 1, Unlimited, false, "xbx"},
      {"ab", "b", "bb", 1, Unlimited, true, "abb"},  // the replacement is not rescanned
      {"\xB0\x42" "B", "B", "-", 1, Unlimited, true, "\xB0\x42-"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.text, c.find, c.replacement, c.start, c.count, c.caseSensitive), c.expected)
        << "text '" << c.text << "' find '" << c.find << "'";
  }
}

TEST(SplitText, Table) {
  const std::pair<std::pair<std::string, std::string>, TextList> cases[] = {
      {{"a;;b;", ";"}, {"a", "", "b"}},
      {{";a", ";"}, {"", "a"}},
      {{"a;b", ";"}, {"a", "b"}},
      {{"", ";"}, {}},
      {{";", ";"}, {""}},
      {{"abc", ""}, {"abc"}},
      {{"a\r\nb\r\n", "\r\n"}, {"a", "b"}},
      {{"a; b;c", "; "}, {"a", "b;c"}},
      {{"\xB0;x;y", ";"}, {"\xB0;x", "y"}},  // the first ';' is a trail byte
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(SplitText(in.first, in.second), out) << "'" << in.first << "'";
}

TEST(ToInteger, Table) {
  const std::pair<std::string, int> cases[] = {
      {"42", 42}, {"  7x", 7}, {"-3", -3}, {"+5", 5}, {"", 0}, {"abc", 0},
      {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}, {"1\0" "2", 1},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ToInteger(in), out) << "'" << in << "'";
  EXPECT_EQ(LowerAscii("AbC\xC1\x41"), "abc\xC1\x61");
}

TEST(TextOperations, ArbitraryBytesNeverReadPastTheEnd) {
  // Every byte value in every position, including lead bytes at the end; ASan watches the reads.
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  for (size_t cut = 0; cut <= all.size(); cut += 17) {
    const std::string text = all.substr(cut) + "\xFF";
    EXPECT_GE(FindText(text, "\xFF", 1), -1);
    EXPECT_GE(FindTextReverse(text, "\xFF\xFF", true), -1);
    (void)TrimSpaces(text);
    (void)ReplaceText(text, "\xA1", "x", 1, Unlimited, false);
    (void)SplitText(text, "\xFF");
  }
}

}  // namespace
}  // namespace lecdl

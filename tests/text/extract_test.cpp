#include "text/extract.h"

#include <gtest/gtest.h>

#include <string>

namespace lecdl {
namespace {

const std::string kQuote(QuoteMarker);

struct BetweenCase {
  std::string text, left, right;
  int start;
  bool ignoreCase;
  std::string expected;
};

TEST(TextBetween, Table) {
  const BetweenCase cases[] = {
      {"<a>x</a>", "<a>", "</a>", 0, false, "x"},
      {"<a>x", "<a>", "</a>", 0, false, ""},
      {"x</a>", "<a>", "</a>", 0, false, ""},
      {"title=\"abc\"", "title=" + kQuote, kQuote, 0, false, "abc"},
      {"<b> y </b>", "<b>", "</b>", 0, false, " y "},  // not trimmed
      {"<b></b>", "<b>", "</b>", 0, false, ""},
      {"ab]cd]", "", "]", 0, false, "ab"},              // empty left: from the first byte ...
      {"ab]cd]", "", "]", 4, false, "ab"},              // ... whatever start was given
      {"[a]", "[", "", 0, false, ""},                   // empty right
      {"[a][b]", "[", "]", 1, false, "a"},
      {"[a][b]", "[", "]", -5, false, "a"},
      {"[a][b]", "[", "]", 2, false, "b"},              // a start after the first left marker
      {"[a]", "[", "]", 2, false, ""},
      {"<A>x</A>", "<a>", "</a>", 0, false, ""},
      {"<A>x</A>", "<a>", "</a>", 0, true, "x"},
      {"aXa", "a", "a", 0, false, "X"},                 // the markers never overlap
      {"\xB0[x][y]", "[", "]", 0, false, "y"},          // a marker on a trail byte does not count
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected)
        << "text '" << c.text << "' left '" << c.left << "' right '" << c.right << "'";
  }
}

TextList AllPieces(const std::string& text, const std::string& left, const std::string& right,
                   const BetweenAllOptions& options = {}) {
  TextList pieces;
  const int n = TextBetweenAll(text, left, right, pieces, options);
  EXPECT_EQ(n, static_cast<int>(pieces.size()));
  return pieces;
}

TEST(TextBetweenAll, ScanRules) {
  EXPECT_EQ(AllPieces("[a][b][][c]", "[", "]"), (TextList{"a", "b"}));  // an empty piece ends the scan
  EXPECT_EQ(AllPieces("|a|b|c|", "|", "|"), (TextList{"a", "b", "c"}));
  EXPECT_EQ(AllPieces("[ a ][b]", "[", "]"), (TextList{"a", "b"}));
  EXPECT_EQ(AllPieces("[a][   ][c]", "[", "]"), (TextList{"a"}));     // spaces only count as empty
  EXPECT_EQ(AllPieces("[a][\t][c]", "[", "]"), (TextList{"a", "\t", "c"}));
  EXPECT_EQ(AllPieces("[a][b", "[", "]"), (TextList{"a"}));
  EXPECT_EQ(AllPieces("nothing", "[", "]"), TextList{});
  EXPECT_EQ(AllPieces("", "[", "]"), TextList{});
  BetweenAllOptions fromFourth;
  fromFourth.start = 4;
  EXPECT_EQ(AllPieces("[a][b][c]", "[", "]", fromFourth), (TextList{"b", "c"}));
}

TEST(TextBetweenAll, CaseModeDefaultsToIgnoringCase) {
  EXPECT_EQ(AllPieces("<A>x</A><a>y</a>", "<a>", "</a>"), (TextList{"x", "y"}));
  BetweenAllOptions exactCase;
  exactCase.caseSensitive = true;
  EXPECT_EQ(AllPieces("<A>x</A><a>y</a>", "<a>", "</a>", exactCase), (TextList{"y"}));
}

TEST(TextBetweenAll, MaxLengthEndsTheScan) {
  BetweenAllOptions upToThree;
  upToThree.maxLength = 3;
  EXPECT_EQ(AllPieces("[ab][abcd][c]", "[", "]", upToThree), (TextList{"ab"}));  // not skipped: the scan ends
  EXPECT_EQ(AllPieces("[ab][abc][c]", "[", "]", upToThree), (TextList{"ab", "abc", "c"}));
}

TEST(TextBetweenAll, EntryDecoration) {
  BetweenAllOptions all;
  all.prefix = "(";
  all.suffix = ")";
  all.withLeft = true;
  all.withRight = true;
  EXPECT_EQ(AllPieces("[a]", "[", "]", all), (TextList{"[(a)]"}));
}

TEST(TextBetweenAll, QuoteMarkerIsNotTranslated) {
  EXPECT_EQ(AllPieces("a=\"x\"", "a=" + kQuote, kQuote), TextList{});
}

TEST(TextBetweenAll, ASecondCallReplacesTheFirstResult) {
  TextList pieces;
  TextBetweenAll("[a][b]", "[", "]", pieces);
  EXPECT_EQ(TextBetweenAll("nothing", "[", "]", pieces), 0);
  EXPECT_TRUE(pieces.empty());
}

TEST(TextBetweenAll, EmptyLeftMarkerEndsInsteadOfLoopingForever) {
  EXPECT_EQ(AllPieces("a]b]c]", "", "]"), (TextList{"a"}));
  EXPECT_EQ(AllPieces("[a]", "[", ""), TextList{});
}

TEST(ReplaceMany, AppliesEachPairInTurn) {
  const std::string description = "\tline one</p>\tline two</P>";
  EXPECT_EQ(ReplaceMany(description, 100, 0, false, {{"\t", ""}, {"</p>", ""}}), "line oneline two");
  EXPECT_EQ(ReplaceMany(description, 100, 0, true, {{"\t", ""}, {"</p>", ""}}), "line oneline two</P>");
  EXPECT_EQ(ReplaceMany("aaaa", 1, 1, false, {{"a", "b"}, {"a", "c"}}), "bcaa");  // count is per pair
  EXPECT_EQ(ReplaceMany("a-b", std::nullopt, 1, false, {{"", "x"}, {"-", "+"}}), "a+b");
  EXPECT_EQ(ReplaceMany("1-2", std::nullopt, 1, false, {{"1", "2"}, {"2", "3"}}), "3-3");  // chained
  EXPECT_EQ(ReplaceMany("a-b-c", std::nullopt, 3, false, {{"-", "+"}}), "a-b+c");
}

}  // namespace
}  // namespace lecdl

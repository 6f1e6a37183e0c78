#include "text/encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace lecdl {
namespace {

const std::string kZhongGbk = "\xD6\xD0";           // 中
const std::string kZhongUtf8 = "\xE4\xB8\xAD";      // 中
const std::string kWenGbk = "\xCE\xC4";             // 文
const std::string kEuroGbk = "\x80";                // € is a single byte in code page 936

TEST(UrlEncodeUtf8, Table) {
  const std::pair<std::string, std::string> cases[] = {
      {"a b", "a%20b"},
      {"A++/x_y", "A%2B%2B%2Fx%5Fy"},
      {"-.09AZaz", "-.09AZaz"},
      {"~*!'()", "%7E%2A%21%27%28%29"},
      {kZhongGbk, "%E4%B8%AD"},
      {"\n", "%0A"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(UrlEncodeUtf8(in), out) << "'" << in << "'";
}

TEST(UrlDecodeUtf8, Table) {
  const std::pair<std::string, std::string> cases[] = {
      {"%E4%b8%ad", kZhongGbk},     // either hex case
      {"a+b%20c", "a+b c"},         // '+' stays
      {"a%00b", "ab"},              // a decoded zero byte adds nothing
      {kZhongUtf8 + "x", kZhongGbk + "x"},
      {"100%", "100%"},             // a '%' without two hex digits is copied
      {"%4", "%4"},
      {"%zz1", "%zz1"},
      {"%%41", "%A"},
      {"%E4%B8", "?"},              // a truncated UTF-8 sequence is replaced, not an error
      {kZhongGbk, "??"},            // GBK is not valid UTF-8: each bad byte is replaced
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(UrlDecodeUtf8(in), out) << "'" << in << "'";
}

TEST(CodePages, GbkRoundTrip) {
  const std::string gbk = "ab " + kZhongGbk + kWenGbk + "\xA1\xA1" + kEuroGbk + "\r\n";
  EXPECT_EQ(GbkToUtf8(gbk), "ab " + kZhongUtf8 + "\xE6\x96\x87" + "\xE3\x80\x80" + "\xE2\x82\xAC" + "\r\n");
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk);
}

TEST(CodePages, EveryDoubleByteCharacterRoundTrips) {
  // Every two-byte character of the code page comes back unchanged through UTF-8.
  int characters = 0;
  std::string firstFailure;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const std::string ch{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string utf8 = GbkToUtf8(ch);
      if (utf8.find("\xEF\xBF\xBD") != std::string::npos) continue;  // not a character of the code page
      ++characters;
      if (Utf8ToGbk(utf8) != ch && firstFailure.empty()) firstFailure = ch;
    }
  }
  EXPECT_GT(characters, 20000);
  EXPECT_EQ(firstFailure, "");
}

TEST(CodePages, InvalidInputIsReplacedNeverAnError) {
  EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(GbkToUtf8("a\xD6"), "a\xEF\xBF\xBD");                  // a lead byte at the end
  EXPECT_EQ(GbkToUtf8("\xA1\x40x"), "\xEF\xBF\xBDx");               // a pair outside the code page is one
  EXPECT_EQ(GbkToUtf8("\xB0/"), "\xEF\xBF\xBD/");                    // no trail byte: the "/" stays itself
  EXPECT_EQ(Utf8ToGbk("a\xC3" "b"), "a?b");
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80"), "?");                   // outside GBK: one '?' per character
  EXPECT_EQ(Utf8ToGbk("\xED\xA0\x80x"), "???x");                   // an encoded surrogate is invalid UTF-8
  EXPECT_EQ(WideToCodePage(u"\xD800x", CodePageGbk), "?x");        // a lone surrogate
  EXPECT_EQ(WideToCodePage(u"x\xD800", CodePageUtf8), "x?");
  EXPECT_EQ(Utf8ToGbk("a\0b"), "a");                               // input ends at its first zero byte
  EXPECT_EQ(GbkToUtf8(""), "");
  EXPECT_EQ(CodePageToWide("x", 12345), u"");                      // an unknown code page converts nothing
}

TEST(CodePages, WideConversions) {
  EXPECT_EQ(CodePageToWide(kZhongUtf8 + "a"), u"\u4E2Da");
  EXPECT_EQ(CodePageToWide(kZhongGbk, CodePageGbk), u"\u4E2D");
  EXPECT_EQ(WideToCodePage(u"\u4E2D", CodePageGbk), kZhongGbk);
  EXPECT_EQ(WideToCodePage(u"\U0001F600", CodePageUtf8), "\xF0\x9F\x98\x80");
}

TEST(CodePages, ArbitraryBytesNeverCrash) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 7919 + 13) % 256));
  for (size_t n = 0; n < bytes.size(); n += 97) {
    const std::string piece = bytes.substr(n, 300);
    (void)Utf8ToGbk(piece);
    (void)GbkToUtf8(piece);
    (void)UrlDecodeUtf8(piece);
    EXPECT_EQ(UrlEncodeUtf8(piece).find_first_not_of("%-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace lecdl

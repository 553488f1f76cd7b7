// The character rule of the page: UTF-8 outside, code page 1252 inside.
#include <gtest/gtest.h>

#include <string>

#include "web/CodePage1252.h"

namespace {

using BoxText = FixedText<30>;

// The 27 characters of code page 1252 from 0x80 to 0x9F, as typed, and their bytes:
// €‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ
const char* const kHigh1252InUtf8 =
    "\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u017D\u2018\u2019\u201C\u201D\u2022"
    "\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E\u0178";
const char* const kHigh1252 =
    "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F";

TEST(CodePage1252, EachCharacterOf1252StaysAndEveryOtherIsOneQuestionMark) {
  struct Row {
    std::string typed;
    const char* held;   // in code page 1252, as the Windows program holds it
    const char* shown;  // back in UTF-8
  };
  const Row rows[] = {
      {"\xC3\x86r\xC3\xB8", "\xC6r\xF8", "\xC3\x86r\xC3\xB8"},                             // Ærø
      {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "?\xF3\x64?", "?\xC3\xB3\x64?"},                     // Łódź
      {"\xE5\x88\x80", "?", "?"},                                                           // a CJK character
      {"\xF0\x9F\x98\x80 gg", "? gg", "? gg"},                                              // an emoji
      {"\xE2\x82\xAC\xC5\xA0\xE2\x84\xA2", "\x80\x8A\x99", "\xE2\x82\xAC\xC5\xA0\xE2\x84\xA2"},  // €Š™
      {kHigh1252InUtf8, kHigh1252, kHigh1252InUtf8},  // the 27 characters of 0x80 to 0x9F
      {"\xC2\x81", "\x81", "\xC2\x81"},    // a byte that 1252 leaves undefined stands for itself
      {"\xC2\x80", "?", "?"},              // a control character that 1252 lacks
      {"\xFF\xC0\xAF", "???", "???"},      // bytes that are not UTF-8
      {"\xE0\x80\xAF", "???", "???"},      // an overlong form
      {"\xED\xA0\x80", "???", "???"},      // a lone surrogate
      {"\xED\xBF\xBF", "???", "???"},      // the last surrogate
      {"\xEE\x80\x80", "?", "?"},          // the first character after the surrogates
      {"\xEF\xBF\xBD", "?", "?"},          // the last lead byte of three
      {"\xF4\x90\x80\x80", "????", "????"},  // beyond U+10FFFF
      {"ab\xE2\x82", "ab??", "ab??"},      // cut short
      {std::string("ab\0cd", 5), "ab", "ab"},  // a zero byte ends the text
  };
  for (const Row& row : rows) {
    BoxText held;
    assign1252FromUtf8(row.typed, held);
    EXPECT_EQ(held.view(), row.held) << row.typed;
    FixedText<90> shown;
    assignUtf8From1252(held.view(), shown);
    EXPECT_EQ(shown.view(), row.shown) << row.typed;
  }
}

TEST(CodePage1252, EveryByteGoesToUtf8AndBack) {
  for (unsigned byte = 1; byte < 256; ++byte) {
    char bytes[3];
    const char32_t character = unicodeOf1252(static_cast<unsigned char>(byte));
    const std::size_t length = encodeUtf8(character, bytes);
    const Utf8Character decoded = decodeUtf8(std::string_view(bytes, length));
    EXPECT_EQ(decoded.length, length) << byte;
    EXPECT_EQ(static_cast<unsigned char>(codePage1252Of(decoded.character)), byte) << byte;
  }
}

TEST(CodePage1252, TextsKeepWhatFitsAndNeverPartOfACharacter) {
  BoxText held;
  assign1252FromUtf8(std::string(28, 'a') + "\xF0\x9F\x98\x80" + "\xC3\x86z", held);
  EXPECT_EQ(held.view(), std::string(28, 'a') + "?");
  FixedText<6> shown;  // room for five bytes: two characters of two, not half a third
  assignUtf8From1252("\xC6\xC6\xC6", shown);
  EXPECT_EQ(shown.view(), "\xC3\x86\xC3\x86");
}

}  // namespace

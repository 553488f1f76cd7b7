#pragma once

// The page's texts cross in UTF-8; inside, the core holds them in code page
// 1252, as the Windows program's boxes do. Each character of 1252 stays
// itself (its five undefined bytes stand for the C1 characters of the same
// number, as Windows' own table has them); every other character, and each
// byte that does not begin well-formed UTF-8, becomes one "?".
#include <cstddef>
#include <string_view>

#include "core/FixedText.h"

// The first character of a non-empty UTF-8 text, and how many bytes it
// takes; a byte that does not begin a well-formed sequence (overlong,
// surrogate, beyond U+10FFFF, cut short) is one character of its own,
// U+FFFD.
struct Utf8Character {
  char32_t character;
  std::size_t length;
};
Utf8Character decodeUtf8(std::string_view text);

// The byte of 1252 for a character, or '?' when 1252 lacks it.
char codePage1252Of(char32_t character);

// The character that a byte of 1252 stands for.
char32_t unicodeOf1252(unsigned char byte);

// Writes a character below U+10000 in UTF-8; returns its length, 1 to 3.
std::size_t encodeUtf8(char32_t character, char (&bytes)[3]);

// Replaces `out` with the first characters of `utf8`, up to a zero byte, in
// 1252: as many as `out` holds, never part of one.
template <std::size_t Width>
void assign1252FromUtf8(std::string_view utf8, FixedText<Width>& out) {
  out.clear();
  for (std::size_t count = 0; !utf8.empty() && utf8.front() != '\0' && count < out.kMaxLength; ++count) {
    const Utf8Character decoded = decodeUtf8(utf8);
    const char converted = codePage1252Of(decoded.character);
    out.append(std::string_view(&converted, 1));
    utf8.remove_prefix(decoded.length);
  }
}

// Replaces `out` with a text of 1252 in UTF-8; what does not fit whole is
// left out, character by character.
template <std::size_t Width>
void assignUtf8From1252(std::string_view codePage1252, FixedText<Width>& out) {
  out.clear();
  std::size_t used = 0;
  for (char c : codePage1252) {
    char bytes[3];
    const std::size_t length = encodeUtf8(unicodeOf1252(static_cast<unsigned char>(c)), bytes);
    if (used + length > out.kMaxLength) break;
    out.append(std::string_view(bytes, length));
    used += length;
  }
}

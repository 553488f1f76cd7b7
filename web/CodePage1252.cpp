#include "web/CodePage1252.h"

namespace {

// Code page 1252 from 0x80 to 0x9F; 0 where the byte stands for the Unicode
// character of the same number (the five bytes that 1252 leaves undefined).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char32_t kNotUnicode = 0xFFFD;

}  // namespace

char32_t unicodeOf1252(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0 || kHighControls[byte - 0x80] == 0) return byte;
  return kHighControls[byte - 0x80];
}

char codePage1252Of(char32_t character) {
  for (unsigned byte = 0x80; byte < 0xA0; ++byte) {
    if (unicodeOf1252(static_cast<unsigned char>(byte)) == character) return static_cast<char>(byte);
  }
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<char>(character);
  return '?';
}

Utf8Character decodeUtf8(std::string_view text) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t character = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, character = lead & 0x1Fu, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, character = lead & 0x0Fu, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, character = lead & 0x07u, smallest = 0x10000;
  } else {
    return {kNotUnicode, 1};
  }
  if (text.size() < length) return {kNotUnicode, 1};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0u) != 0x80u) return {kNotUnicode, 1};
    character = (character << 6) | (byte(i) & 0x3Fu);
  }
  if (character < smallest || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF)) {
    return {kNotUnicode, 1};
  }
  return {character, length};
}

std::size_t encodeUtf8(char32_t character, char (&bytes)[3]) {
  if (character < 0x80) {
    bytes[0] = static_cast<char>(character);
    return 1;
  }
  if (character < 0x800) {
    bytes[0] = static_cast<char>(0xC0 | (character >> 6));
    bytes[1] = static_cast<char>(0x80 | (character & 0x3F));
    return 2;
  }
  bytes[0] = static_cast<char>(0xE0 | ((character >> 12) & 0x0F));
  bytes[1] = static_cast<char>(0x80 | ((character >> 6) & 0x3F));
  bytes[2] = static_cast<char>(0x80 | (character & 0x3F));
  return 3;
}

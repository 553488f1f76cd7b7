#pragma once

#include <cstdint>

#include "core/FixedText.h"

// Reads the decimal number at the start of `text` as the C library's
// text-to-double conversion does in its default locale: leading white space,
// an optional sign, then decimal digits with an optional point and exponent,
// a 0x hexadecimal form with an optional p exponent, inf, infinity or nan in
// any case. Everything after the number is ignored; text without a number
// gives 0. The result is correctly rounded and the same on every platform.
double parseDecimalText(const char* text);

// Reads the base-10 integer at the start of `text`: leading white space, an
// optional sign, digits up to the first non-digit. Text without digits gives 0.
// A magnitude beyond the signed 32-bit range saturates to 2147483647 or
// -2147483648 by its sign.
std::int32_t parseIntegerText(const char* text);

// Writes `value` as "%f" does (six digits after the point, a leading "-" for
// negative values, correctly rounded). Returns false, leaving `out` empty,
// when the text would not fit or the value is not finite.
template <std::size_t Width>
bool writeFixed6(double value, FixedText<Width>& out);

// Writes `value` as "%i" does.
template <std::size_t Width>
bool writeInteger(std::int32_t value, FixedText<Width>& out);

namespace number_text_detail {
// Writes into [first, last); returns the end of the text or nullptr when it
// does not fit (or, for writeFixed6Chars, when the value is not finite).
char* writeFixed6Chars(char* first, char* last, double value);
char* writeIntegerChars(char* first, char* last, std::int32_t value);
}  // namespace number_text_detail

template <std::size_t Width>
bool writeFixed6(double value, FixedText<Width>& out) {
  char* end = number_text_detail::writeFixed6Chars(out.data(), out.data() + FixedText<Width>::kMaxLength, value);
  if (end == nullptr) {
    out.clear();
    return false;
  }
  *end = '\0';
  return true;
}

template <std::size_t Width>
bool writeInteger(std::int32_t value, FixedText<Width>& out) {
  char* end = number_text_detail::writeIntegerChars(out.data(), out.data() + FixedText<Width>::kMaxLength, value);
  if (end == nullptr) {
    out.clear();
    return false;
  }
  *end = '\0';
  return true;
}

// parseDecimalText against the C library's strtod, which rounds correctly:
// the same value for any text, and the same answer every time.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/NumberText.h"

namespace {

// Where a hexadecimal number starts in `text`, after white space, a sign and
// "0x"; nullptr when the text holds no hexadecimal number. `negative` tells
// the sign.
const char* hexadecimalDigits(const char* p, bool& negative) {
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  if (p[0] != '0' || (p[1] != 'x' && p[1] != 'X')) return nullptr;
  p += 2;
  const char* digit = *p == '.' ? p + 1 : p;
  return std::isxdigit(static_cast<unsigned char>(*digit)) != 0 ? p : nullptr;
}

// The correctly rounded value of `text`. Debian 12's strtod (glibc 2.36)
// truncates a hexadecimal number whose value falls below the smallest normal
// double instead of rounding it ("0x20000000000003p-1076" gives 0x0.8p-1022,
// not 0x0.8000000000001p-1022); there libstdc++'s from_chars, a hexadecimal
// reader of its own, is the reference.
double reference(const std::string& text) {
  const double value = std::strtod(text.c_str(), nullptr);
  bool negative = false;
  const char* digits = hexadecimalDigits(text.c_str(), negative);
  if (digits == nullptr || std::fabs(value) >= DBL_MIN) return value;
  double exact = 0.0;  // also when from_chars finds it too small for any double
  std::from_chars(digits, text.c_str() + text.size(), exact, std::chars_format::hex);
  return negative ? -exact : exact;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double value = parseDecimalText(text.c_str());
  const double again = parseDecimalText(text.c_str());
  const double expected = reference(text);
  if (std::isnan(expected)) {
    if (!std::isnan(value) || !std::isnan(again)) std::abort();
    return 0;
  }
  if (std::memcmp(&value, &expected, sizeof value) != 0) std::abort();
  if (std::memcmp(&value, &again, sizeof value) != 0) std::abort();
  return 0;
}

#include "core/NumberText.h"

#include <cstddef>
#include <cstring>
#include <limits>

namespace {

constexpr std::uint64_t kInfinityBits = 0x7FF0000000000000u;
// Beyond this every exponent gives 0 or infinity, whatever the digits.
constexpr long long kExponentCap = 1000000000;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

char lowerCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// True when `text` starts with the lower-case `word`, letters in any case.
bool startsWithWord(const char* text, const char* word) {
  for (; *word != '\0'; ++text, ++word) {
    if (lowerCase(*text) != *word) return false;
  }
  return true;
}

double fromBits(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Reads an optional sign and decimal digits after an exponent letter. Returns
// false, consuming nothing, when no digit follows.
bool readExponent(const char*& p, int& exponent) {
  const char* q = p;
  bool negative = false;
  if (*q == '+' || *q == '-') negative = (*q++ == '-');
  if (!isDigit(*q)) return false;
  long long value = 0;
  for (; isDigit(*q); ++q) {
    if (value < kExponentCap) value = value * 10 + (*q - '0');
  }
  if (value > kExponentCap) value = kExponentCap;
  exponent = static_cast<int>(negative ? -value : value);
  p = q;
  return true;
}

// Rounds m × 2^e, plus a fraction of m's last unit when `sticky`, to the
// nearest double (ties to even) and returns its bits without the sign.
std::uint64_t roundToDoubleBits(std::uint64_t m, long long e, bool sticky) {
  if (m == 0) return 0;
  while ((m >> 63) == 0) {
    m <<= 1;
    --e;
  }
  const long long top = e + 63;  // the exponent of m's leading bit
  if (top > 1023) return kInfinityBits;
  const long long keep = top >= -1022 ? 53 : top + 1075;  // significant bits kept
  if (keep < 0) return 0;
  if (keep == 0) return (m > (std::uint64_t{1} << 63) || sticky) ? 1 : 0;
  const int drop = static_cast<int>(64 - keep);
  std::uint64_t q = m >> drop;
  const std::uint64_t rest = m & ((std::uint64_t{1} << drop) - 1);
  const std::uint64_t half = std::uint64_t{1} << (drop - 1);
  if (rest > half || (rest == half && (sticky || (q & 1) != 0))) ++q;
  // q holds the hidden bit for normal numbers, so adding it carries into the
  // exponent field exactly as rounding up to the next binade must.
  const std::uint64_t exponentField = keep == 53 ? static_cast<std::uint64_t>(top + 1022) : 0;
  const std::uint64_t bits = (exponentField << 52) + q;
  return bits >= kInfinityBits ? kInfinityBits : bits;
}

// An exact decimal number 0.d[0]d[1]...d[count-1] × 10^point, shifted by
// powers of two until its binary exponent is known; then rounded to 53 bits.
// Digits past kMaxDigits are dropped and remembered in `truncated`, which is
// enough to round every double correctly.
class DecimalNumber {
 public:
  static constexpr int kMaxDigits = 800;

  // Reads digits with an optional point; returns false when there is no digit.
  bool read(const char*& p) {
    bool sawDigit = false;
    bool sawPoint = false;
    for (;; ++p) {
      if (*p == '.' && !sawPoint) {
        sawPoint = true;
        continue;
      }
      if (!isDigit(*p)) break;
      sawDigit = true;
      if (*p == '0' && count_ == 0) {
        if (sawPoint) --point_;
        continue;
      }
      if (!sawPoint) ++point_;
      if (count_ < kMaxDigits) {
        digits_[count_++] = static_cast<unsigned char>(*p - '0');
      } else if (*p != '0') {
        truncated_ = true;
      }
    }
    trim();
    return sawDigit;
  }

  void scaleByPowerOfTen(int exponent) {
    if (count_ == 0) return;
    const long long point = static_cast<long long>(point_) + exponent;
    point_ = static_cast<int>(point < -kExponentCap ? -kExponentCap : (point > kExponentCap ? kExponentCap : point));
  }

  std::uint64_t doubleBits() {
    if (count_ == 0) return 0;
    if (point_ > 310) return kInfinityBits;
    if (point_ < -330) return 0;
    static constexpr int kShiftForDigits[] = {1, 3, 6, 9, 13, 16, 19, 23, 26};
    int exponent = 0;
    while (point_ > 0) {
      const int n = point_ >= 9 ? 27 : kShiftForDigits[point_];
      shift(-n);
      exponent += n;
    }
    while (count_ > 0 && (point_ < 0 || (point_ == 0 && digits_[0] < 5))) {
      const int n = -point_ >= 9 ? 27 : kShiftForDigits[-point_];
      shift(n);
      exponent -= n;
    }
    // Now 0.5 <= value < 1; a double's significand lies in [1, 2).
    --exponent;
    if (exponent < -1022) {
      const int n = -1022 - exponent;
      shift(-n);
      exponent += n;
    }
    if (exponent > 1023) return kInfinityBits;
    shift(53);
    std::uint64_t significand = roundedInteger();
    if (significand == (std::uint64_t{2} << 52)) {
      significand >>= 1;
      ++exponent;
      if (exponent > 1023) return kInfinityBits;
    }
    if ((significand & (std::uint64_t{1} << 52)) == 0) exponent = -1023;
    return (significand & ((std::uint64_t{1} << 52) - 1)) | (static_cast<std::uint64_t>(exponent + 1023) << 52);
  }

 private:
  static constexpr int kMaxShift = 60;

  void trim() {
    while (count_ > 0 && digits_[count_ - 1] == 0) --count_;
    if (count_ == 0) point_ = 0;
  }

  void shift(int k) {
    if (count_ == 0) return;
    for (; k > kMaxShift; k -= kMaxShift) shiftLeft(kMaxShift);
    for (; k < -kMaxShift; k += kMaxShift) shiftRight(kMaxShift);
    if (k > 0) shiftLeft(k);
    if (k < 0) shiftRight(-k);
  }

  // Divides by 2^k.
  void shiftRight(int k) {
    int r = 0;
    int w = 0;
    std::uint64_t n = 0;
    for (; (n >> k) == 0; ++r) {
      if (r >= count_) {
        if (n == 0) {
          count_ = 0;
          point_ = 0;
          return;
        }
        while ((n >> k) == 0) {
          n *= 10;
          ++r;
        }
        break;
      }
      n = n * 10 + digits_[r];
    }
    point_ -= r - 1;
    const std::uint64_t mask = (std::uint64_t{1} << k) - 1;
    for (; r < count_; ++r) {
      digits_[w++] = static_cast<unsigned char>(n >> k);
      n = (n & mask) * 10 + digits_[r];
    }
    while (n > 0) {
      const auto digit = static_cast<unsigned char>(n >> k);
      if (w < kMaxDigits) {
        digits_[w++] = digit;
      } else if (digit > 0) {
        truncated_ = true;
      }
      n = (n & mask) * 10;
    }
    count_ = w;
    trim();
  }

  // Multiplies by 2^k, writing the product's digits right to left.
  void shiftLeft(int k) {
    unsigned char product[kMaxDigits + 20];
    int w = static_cast<int>(sizeof product);
    std::uint64_t n = 0;
    for (int r = count_ - 1; r >= 0; --r) {
      n += static_cast<std::uint64_t>(digits_[r]) << k;
      product[--w] = static_cast<unsigned char>(n % 10);
      n /= 10;
    }
    for (; n > 0; n /= 10) product[--w] = static_cast<unsigned char>(n % 10);
    const int total = static_cast<int>(sizeof product) - w;
    point_ += total - count_;
    count_ = total < kMaxDigits ? total : kMaxDigits;
    for (int i = 0; i < total; ++i) {
      if (i < count_) {
        digits_[i] = product[w + i];
      } else if (product[w + i] != 0) {
        truncated_ = true;
      }
    }
    trim();
  }

  // The integer part, rounded to nearest with ties to even.
  std::uint64_t roundedInteger() const {
    std::uint64_t n = 0;
    int i = 0;
    for (; i < point_ && i < count_; ++i) n = n * 10 + digits_[i];
    for (; i < point_; ++i) n *= 10;
    if (point_ >= 0 && point_ < count_) {
      const bool exactHalf = digits_[point_] == 5 && point_ + 1 == count_ && !truncated_;
      if (exactHalf ? (point_ > 0 && digits_[point_ - 1] % 2 == 1) : digits_[point_] >= 5) ++n;
    }
    return n;
  }

  unsigned char digits_[kMaxDigits] = {};
  int count_ = 0;
  int point_ = 0;
  bool truncated_ = false;
};

// Reads the hexadecimal form after "0x"; returns false when no hex digit follows.
bool readHexadecimal(const char*& p, std::uint64_t& bits) {
  const char* q = p;
  std::uint64_t m = 0;
  long long e = 0;
  bool sticky = false;
  bool sawDigit = false;
  bool sawPoint = false;
  for (;; ++q) {
    if (*q == '.' && !sawPoint) {
      sawPoint = true;
      continue;
    }
    const int h = hexValue(*q);
    if (h < 0) break;
    sawDigit = true;
    if (m < (std::uint64_t{1} << 59)) {
      m = m * 16 + static_cast<std::uint64_t>(h);
      if (sawPoint) e -= 4;
    } else {
      sticky = sticky || h != 0;
      if (!sawPoint) e += 4;
    }
  }
  if (!sawDigit) return false;
  if (*q == 'p' || *q == 'P') {
    ++q;
    int exponent = 0;
    if (readExponent(q, exponent)) {
      e += exponent;
    } else {
      --q;
    }
  }
  bits = roundToDoubleBits(m, e, sticky);
  p = q;
  return true;
}

}  // namespace

double parseDecimalText(const char* text) {
  const char* p = text;
  while (isSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  const double sign = negative ? -1.0 : 1.0;

  if (startsWithWord(p, "inf")) return sign * std::numeric_limits<double>::infinity();
  if (startsWithWord(p, "nan")) return sign * std::numeric_limits<double>::quiet_NaN();

  std::uint64_t bits = 0;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    const char* q = p + 2;
    if (readHexadecimal(q, bits)) return sign * fromBits(bits);
  }

  DecimalNumber number;
  if (!number.read(p)) return 0.0;
  if (*p == 'e' || *p == 'E') {
    ++p;
    int exponent = 0;
    if (readExponent(p, exponent)) number.scaleByPowerOfTen(exponent);
  }
  return sign * fromBits(number.doubleBits());
}

std::int32_t parseIntegerText(const char* text) {
  const char* p = text;
  while (isSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  constexpr std::int64_t kBeyond = std::int64_t{1} << 31;  // first magnitude past the range
  std::int64_t magnitude = 0;
  for (; isDigit(*p); ++p) {
    if (magnitude <= kBeyond) magnitude = magnitude * 10 + (*p - '0');
  }
  if (negative) return magnitude >= kBeyond ? std::numeric_limits<std::int32_t>::min() : static_cast<std::int32_t>(-magnitude);
  return magnitude >= kBeyond ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(magnitude);
}

namespace {

// The digits of an unsigned integer, most significant first; returns their count (at most 20).
int decimalDigits(std::uint64_t value, char (&digits)[20]) {
  char reversed[20];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int i = 0; i < count; ++i) digits[i] = reversed[count - 1 - i];
  return count;
}

// Copies `count` characters to `at` if they fit before `last`; returns the
// end, or nullptr.
char* put(char* at, char* last, const char* text, std::ptrdiff_t count) {
  if (at == nullptr || last - at < count) return nullptr;
  std::memcpy(at, text, static_cast<std::size_t>(count));
  return at + count;
}

// Writes m * 2^e (m below 2^53, e from 0 to 971) in decimal: the integer
// part of a double at or above 2^52, exactly, as a number of 32-bit limbs.
char* putLargeInteger(char* at, char* last, std::uint64_t m, int e) {
  constexpr int kLimbs = 34;  // 2^1024 and a limb to spare
  std::uint32_t limbs[kLimbs] = {};
  limbs[e / 32] = static_cast<std::uint32_t>(m << (e % 32));
  limbs[e / 32 + 1] = static_cast<std::uint32_t>((e % 32 == 0 ? m >> 32 : m >> (32 - e % 32)));
  if (e % 32 != 0 && e / 32 + 2 < kLimbs) limbs[e / 32 + 2] = static_cast<std::uint32_t>(m >> (64 - e % 32));
  // Chunks of nine digits, least significant first.
  std::uint32_t chunks[40];
  int chunkCount = 0;
  int top = kLimbs - 1;
  while (top >= 0 && limbs[top] == 0) --top;
  while (top >= 0) {
    std::uint64_t remainder = 0;
    for (int i = top; i >= 0; --i) {
      const std::uint64_t current = (remainder << 32) | limbs[i];
      limbs[i] = static_cast<std::uint32_t>(current / 1000000000u);
      remainder = current % 1000000000u;
    }
    chunks[chunkCount++] = static_cast<std::uint32_t>(remainder);
    while (top >= 0 && limbs[top] == 0) --top;
  }
  char digits[20] = {};
  at = put(at, last, digits, decimalDigits(chunks[chunkCount - 1], digits));
  for (int i = chunkCount - 2; i >= 0; --i) {
    char nine[9];
    std::uint32_t chunk = chunks[i];
    for (int j = 8; j >= 0; --j, chunk /= 10) nine[j] = static_cast<char>('0' + chunk % 10);
    at = put(at, last, nine, 9);
  }
  return at;
}

// The fraction f / 2^k (f below 2^53 and below 2^k, k from 1 to 73) in
// millionths, rounded to the nearest and to even on a tie, from the exact
// product f * 10^6 in two 64-bit words. Returns 10^6 when it rounds up to one.
std::uint32_t millionths(std::uint64_t f, int k) {
  if (k < 1 || k > 73) return 0;  // outside its contract
  // f * 10^6 = high * 2^64 + low
  const std::uint64_t fLow = f & 0xFFFFFFFFu, fHigh = f >> 32;
  const std::uint64_t lowProduct = fLow * 1000000u;    // below 2^52
  const std::uint64_t highProduct = fHigh * 1000000u;  // below 2^41
  const std::uint64_t low = lowProduct + (highProduct << 32);
  const std::uint64_t high = (highProduct >> 32) + (low < lowProduct ? 1 : 0);
  // q = product >> k, r = product mod 2^k, compared with half of 2^k.
  std::uint64_t q;
  bool above;
  bool tie;
  if (k < 64) {
    q = (low >> k) | (high << (64 - k));
    const std::uint64_t r = low & ((std::uint64_t{1} << k) - 1);
    const std::uint64_t half = std::uint64_t{1} << (k - 1);
    above = r > half;
    tie = r == half;
  } else {
    q = high >> (k - 64);
    const std::uint64_t rHigh = k == 64 ? 0 : high & ((std::uint64_t{1} << (k - 64)) - 1);
    if (k == 64) {
      above = low > (std::uint64_t{1} << 63);
      tie = low == (std::uint64_t{1} << 63);
    } else {
      const std::uint64_t halfHigh = std::uint64_t{1} << (k - 65);
      above = rHigh > halfHigh || (rHigh == halfHigh && low != 0);
      tie = rHigh == halfHigh && low == 0;
    }
  }
  if (above || (tie && (q & 1) != 0)) ++q;
  return static_cast<std::uint32_t>(q);
}

}  // namespace

namespace number_text_detail {

// Exact in integers: the double is m * 2^e, its integer part and the
// fraction's millionths (rounded to even on a tie) are computed from m and e
// without any floating-point operation, as "%f" rounds.
char* writeFixed6Chars(char* first, char* last, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  if ((bits & kInfinityBits) == kInfinityBits) return nullptr;
  const int field = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t m = (bits & 0xFFFFFFFFFFFFFu) | (field == 0 ? 0 : std::uint64_t{1} << 52);
  const int e = (field == 0 ? 1 : field) - 1075;
  char* at = (bits >> 63) != 0 ? put(first, last, "-", 1) : first;
  if (e >= 0) {
    at = putLargeInteger(at, last, m, e);
    return put(at, last, ".000000", 7);
  }
  const int k = -e;
  std::uint64_t integer = k < 64 ? m >> k : 0;
  const std::uint64_t fraction = k < 64 ? m & ((std::uint64_t{1} << k) - 1) : m;
  // Below 2^-73 * 2^53 the millionths are less than half of one.
  std::uint32_t part = k <= 73 ? millionths(fraction, k) : 0;
  if (part == 1000000) integer += 1, part = 0;
  char digits[20] = {};
  at = put(at, last, digits, decimalDigits(integer, digits));
  char six[7] = {'.'};
  for (int j = 6; j >= 1; --j, part /= 10) six[j] = static_cast<char>('0' + part % 10);
  return put(at, last, six, 7);
}

char* writeIntegerChars(char* first, char* last, std::int32_t value) {
  // The magnitude in 64 bits, so that the most negative value has one too.
  const std::int64_t wide = value;
  char* at = wide < 0 ? put(first, last, "-", 1) : first;
  char digits[20] = {};
  return put(at, last, digits, decimalDigits(static_cast<std::uint64_t>(wide < 0 ? -wide : wide), digits));
}

}  // namespace number_text_detail

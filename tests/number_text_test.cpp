#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#ifdef __GLIBC__
#include <gnu/libc-version.h>
#endif

namespace {

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

const double kInf = std::numeric_limits<double>::infinity();

// Multiplies a decimal integer, most significant digit first, by a small factor.
void multiply(std::string& digits, int factor) {
  int carry = 0;
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
    const int product = (*digit - '0') * factor + carry;
    *digit = static_cast<char>('0' + product % 10);
    carry = product / 10;
  }
  for (; carry != 0; carry /= 10) digits.insert(digits.begin(), static_cast<char>('0' + carry % 10));
}

TEST(ParseDecimalText, ReadsTheLeadingNumberLikeTheCLibrary) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {" -2.5", -2.5},
      {"+3", 3.0},
      {"1.5abc", 1.5},
      {"-10", -10.0},
      {"5e-1", 0.5},
      {"1.2.3", 1.2},
      {"0.01e-99999999999", 0.0},
      {"0,5", 0.0},
      {",5", 0.0},
      {"Empty", 0.0},
      {"5Empty", 5.0},
      {"", 0.0},
      {"abc", 0.0},
      {".", 0.0},
      {"-", 0.0},
      {"+-1", 0.0},
      {" +0.45xyz", 0.45},
      {"1e3", 1000.0},
      {"\t\n\v\f\r 7", 7.0},
      {".5", 0.5},
      {"5.", 5.0},
      {"1.e2", 100.0},
      {"1e", 1.0},
      {"1e+", 1.0},
      {"2E-0x", 2.0},
      {"007.250", 7.25},
      {"0.000000000000000000000000000001", 1e-30},
      {"5.680743", 5.680743},
      {"-9.98", -9.98},
      {"3.4028235e38", 3.4028235e38},
      {"3.4028235677973366e38", 3.4028235677973366e38},
      {"0x10", 16.0},
      {"-0x1.8p1", -3.0},
      {"0X1P-2", 0.25},
      {"0x.8", 0.5},
      {"0x1p", 1.0},
      {"0x", 0.0},
      {"0xg", 0.0},
      {"0x1.fffffffffffff8p0", 2.0},
      {"0x1.fffffffffffff7p0", 0x1.fffffffffffffp0},
      {"0x1.00000000000008p0", 1.0},
      {"0x1.000000000000081p0", 0x1.0000000000001p0},
      {"0x1p-1074", 0x1p-1074},
      {"0x1p-1075", 0.0},
      {"0x1.000000000000000001p-1075", 0x1p-1074},
      {"0x1.8.8", 1.5},
      {"0x1.1p-1075", 0x1p-1074},
      {"0x20000000000003p-1076", 0x0.8000000000001p-1022},  // Debian 12's strtod truncates these
      {"0x83852fa70430ccp-1078", 0x0.83852fa70430dp-1022},
      {"0x1p1024", kInf},
      {"0x1.fffffffffffff8p1023", kInf},
      {"inf", kInf},
      {"-Infinity", -kInf},
      {"INFINIT", kInf},
      {"in", 0.0},
      {"9007199254740993", 9007199254740992.0},
      {"9007199254740993.0000000000000000000001", 9007199254740994.0},
      {"9007199254740995", 9007199254740996.0},
      {"1.7976931348623157e308", 1.7976931348623157e308},
      {"1.7976931348623159e308", kInf},
      {"1e400", kInf},
      {"-1e99999999999", -kInf},
      {"1e-400", 0.0},
      {"0e99999999999", 0.0},
      {"2.2250738585072011e-308", 2.2250738585072011e-308},
      {"4.9406564584124654e-324", 4.9406564584124654e-324},
      {"2.4703282292062327e-324", 0.0},
      {"2.4703282292062328e-324", 4.9406564584124654e-324},
      // A reader that multiplies in the x87 unit's 64 bits and then rounds
      // again to 53 gets the last bit of these wrong.
      {"34067582e19", 34067582e19},
      {"7633506540e22", 7633506540e22},
      {"546846684756596e12", 546846684756596e12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bitsOf(parseDecimalText(c.text)), bitsOf(c.expected)) << '"' << c.text << '"';
  }
}

TEST(ParseDecimalText, NegativeZeroKeepsItsSign) {
  EXPECT_TRUE(std::signbit(parseDecimalText("-0")));
  EXPECT_TRUE(std::signbit(parseDecimalText("-0x0p5")));
}

TEST(ParseDecimalText, ReadsNotANumberInAnyCase) {
  for (const char* text : {"nan", "NaN", "-nAn", "nan(123)", " nanx"}) {
    EXPECT_TRUE(std::isnan(parseDecimalText(text))) << text;
  }
}

TEST(ParseDecimalText, RoundsCorrectlyBeyondEightHundredDigits) {
  // Exactly halfway between 1 and its successor, written with all its digits
  // and then a tail: only the tail decides the rounding.
  const std::string half = "1.00000000000000011102230246251565404236316680908203125";
  EXPECT_EQ(parseDecimalText(half.c_str()), 1.0);
  std::string longer = half + std::string(900, '0');
  EXPECT_EQ(parseDecimalText(longer.c_str()), 1.0);
  longer += "1";
  EXPECT_EQ(parseDecimalText(longer.c_str()), 1.0000000000000002);
  const std::string manyIntegerDigits = std::string(1000, '9') + "e-1000";
  EXPECT_EQ(parseDecimalText(manyIntegerDigits.c_str()), 1.0);
  // Halfway above 2^27 and then an 800th digit, whose share of the division
  // by 2^27 falls past the digits kept.
  const std::string halfAbove2To27 = "134217728.00000001490116119384765625";
  EXPECT_EQ(parseDecimalText((halfAbove2To27 + std::string(764, '0') + "1").c_str()), 0x1.0000000000001p27);
  // 2^-1075, half the least subnormal, in all its 752 digits: ties to even.
  std::string fiveToThe1075 = "1";
  for (int i = 0; i < 1075; ++i) multiply(fiveToThe1075, 5);
  EXPECT_EQ(bitsOf(parseDecimalText((fiveToThe1075 + "e-1075").c_str())), 0u);
  EXPECT_EQ(parseDecimalText((fiveToThe1075 + "1e-1076").c_str()), 0x1p-1074);
}

TEST(ParseDecimalText, LongDigitRunsBalanceLargeExponents) {
  // The place of the point and the exponent must be added without a cap
  // that cuts either one short of the other.
  const std::string zeros(1500000, '0');
  EXPECT_EQ(parseDecimalText(("0." + zeros + "1e1500001").c_str()), 1.0);
  EXPECT_EQ(parseDecimalText(("1" + zeros + "e-1500000").c_str()), 1.0);
  EXPECT_EQ(parseDecimalText(("0x0." + zeros + "1p6000004").c_str()), 1.0);
  EXPECT_EQ(parseDecimalText("0x1p99999999999999999999"), kInf);
  EXPECT_EQ(parseDecimalText("0x1p-99999999999999999999"), 0.0);
}

#ifdef __GLIBC__
// The C library of the build's own platform, which the tests below take as
// their reference; every failure names it.
std::string glibcReference() {
#if defined(__i386__)
  const char* processor = "i686";
#elif defined(__x86_64__)
  const char* processor = "x86-64";
#else
  const char* processor = "this build's processor";
#endif
  return std::string("reference: glibc ") + gnu_get_libc_version() + " for " + processor;
}

// glibc's conversion is correctly rounded, so it is a reference here.
TEST(ParseDecimalText, AgreesWithGlibcOnRandomTexts) {
  SCOPED_TRACE(glibcReference());
  std::mt19937_64 random(20261207);
  const char* const alphabet[] = {"0123456789", "0123456789abcdefABCDEF"};
  for (int i = 0; i < 200000; ++i) {
    const bool hex = i % 4 == 0;
    std::string text = (random() % 2) ? "-" : "";
    if (hex) text += "0x";
    const int digits = 1 + static_cast<int>(random() % 40);
    const int point = static_cast<int>(random() % static_cast<unsigned>(digits + 2));
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += alphabet[hex ? 1 : 0][random() % (hex ? 22 : 10)];
    }
    const int exponent = static_cast<int>(random() % 1400) - 700;
    if (random() % 3 != 0) text += (hex ? "p" : "e") + std::to_string(hex ? exponent * 2 : exponent / 2);
    EXPECT_EQ(bitsOf(parseDecimalText(text.c_str())), bitsOf(std::strtod(text.c_str(), nullptr))) << text;
  }
}
#endif

TEST(ParseIntegerText, ReadsTheLeadingIntegerAndSaturates) {
  struct Case {
    const char* text;
    std::int32_t expected;
  };
  const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const Case cases[] = {
      {"-7", -7},
      {"-5.9", -5},
      {"-5.0", -5},
      {"-4.9", -4},
      {"3abc", 3},
      {" -0.5", 0},
      {"0x10", 0},
      {"", 0},
      {"Empty", 0},
      {"abc", 0},
      {"- 3", 0},
      {"+12", 12},
      {"\t\r\n-3", -3},
      {"00000000000000000000042", 42},
      {"2147483647", kMax},
      {"2147483648", kMax},
      {"3000000000", kMax},
      {"4294967295", kMax},
      {"99999999999", kMax},
      {"-2147483647", -2147483647},
      {"-2147483648", kMin},
      {"-2147483649", kMin},
      {"-99999999999", kMin},
      {"-99999999999999999999999999", kMin},
  };
  for (const Case& c : cases) EXPECT_EQ(parseIntegerText(c.text), c.expected) << '"' << c.text << '"';
}

TEST(WriteFixed6, WritesLikePercentF) {
  struct Case {
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {-0.0500000007, "-0.050000"},
      {4.925, "4.925000"},
      {-10.0, "-10.000000"},
      {0.0, "0.000000"},
      {-0.0, "-0.000000"},
      {-1e-9, "-0.000000"},
      {0.0000015, "0.000002"},
      {2.798187971115112, "2.798188"},
      {123456789.1234567, "123456789.123457"},
      {1e21, "1000000000000000000000.000000"},
      {-123456789012345.678, "-123456789012345.671875"},
  };
  for (const Case& c : cases) {
    FixedText<30> text;
    EXPECT_TRUE(writeFixed6(c.value, text)) << c.expected;
    EXPECT_STREQ(text.c_str(), c.expected);
  }
}

TEST(WriteFixed6, WideIntegersAreExactAtEveryLimbBoundary) {
  // Every binary exponent of a double's integer part, each checked against
  // its decimal digits found by doubling.
  for (std::uint64_t m : {(std::uint64_t{1} << 53) - 1, std::uint64_t{1} << 52, std::uint64_t{0x15555555555555}}) {
    std::string digits = std::to_string(m);
    for (int e = 0; e <= 971; ++e) {
      FixedText<320> text;
      ASSERT_TRUE(writeFixed6(-std::ldexp(static_cast<double>(m), e), text)) << e;
      ASSERT_EQ(text.view(), "-" + digits + ".000000") << m << " * 2^" << e;
      multiply(digits, 2);
    }
  }
}

TEST(WriteFixed6, RefusesWhatDoesNotFitOrIsNotFinite) {
  for (double value : {-1e21, 1e22, 3.4028234663852886e38, kInf, -kInf, std::nan("")}) {
    FixedText<30> text;
    text.assign("old");
    EXPECT_FALSE(writeFixed6(value, text)) << value;
    EXPECT_TRUE(text.empty());
  }
}

#ifdef __GLIBC__
TEST(WriteFixed6, AgreesWithGlibcOnRandomValues) {
  SCOPED_TRACE(glibcReference());
  std::mt19937_64 random(7);
  for (int i = 0; i < 100000; ++i) {
    const double magnitude = std::pow(10.0, static_cast<double>(random() % 30) - 9.0);
    const double value = (static_cast<double>(random() % 2000001) / 1000000.0 - 1.0) * magnitude;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%f", value);
    FixedText<30> text;
    const bool fits = writeFixed6(value, text);
    EXPECT_EQ(fits, std::strlen(expected) <= 29) << expected;
    if (fits) {
      EXPECT_STREQ(text.c_str(), expected);
    }
  }
}
#endif

TEST(WriteInteger, WritesLikePercentI) {
  struct Case {
    std::int32_t value;
    const char* expected;
  };
  const Case cases[] = {{0, "0"}, {18160, "18160"}, {-5, "-5"}, {std::numeric_limits<std::int32_t>::min(), "-2147483648"}};
  for (const Case& c : cases) {
    FixedText<12> text;
    EXPECT_TRUE(writeInteger(c.value, text));
    EXPECT_STREQ(text.c_str(), c.expected);
  }
  FixedText<3> narrow;
  narrow.assign("old");
  EXPECT_FALSE(writeInteger(-10, narrow));
  EXPECT_TRUE(narrow.empty());
}

}  // namespace

// Number tokens: where they end, the syntax rules in the order they are
// checked, and the conversions to integer and real targets.
#include "textio/number_token.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <string>
#include <vector>

namespace corrsum {
namespace {

using Status = ConversionStatus;

TEST(NumberTokenEnd, StopsAtEachTerminatorAndNothingElse) {
  struct Case {
    std::string text;
    std::size_t end;
  };
  const std::vector<Case> cases = {
      {"12,5", 2}, {"3*7", 1}, {"1 2", 1}, {"1\t2", 1}, {"1/2", 1}, {"1)", 1},
      {"abc", 3},  {"", 0},    {"1\r", 2},  // a carriage return is an ordinary byte
      {"(1", 2},   {"*", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(numberTokenEnd(c.text), c.end) << '"' << c.text << '"';
}

struct SyntaxCase {
  std::string token;
  TokenSyntax syntax;
  std::size_t position;
  TokenForm form = TokenForm::integerForm;
};

void expectScans(const std::vector<SyntaxCase>& cases) {
  for (const SyntaxCase& c : cases) {
    const TokenScan scan = scanNumberToken(c.token);
    EXPECT_EQ(scan.syntax, c.syntax) << '"' << c.token << '"';
    EXPECT_EQ(scan.position, c.position) << '"' << c.token << '"';
    if (c.syntax == TokenSyntax::valid) {
      EXPECT_EQ(scan.form, c.form) << '"' << c.token << '"';
    }
  }
}

TEST(NumberTokenSyntax, ValidTokensAndTheirForm) {
  constexpr auto integer = TokenForm::integerForm;
  constexpr auto real = TokenForm::realForm;
  expectScans({
      {"+3", TokenSyntax::valid, 2, integer},
      {"007", TokenSyntax::valid, 3, integer},
      {"1-2", TokenSyntax::valid, 3, integer},   // a sign after a digit starts an exponent
      {"1-2-3", TokenSyntax::valid, 5, integer},  // well formed; its conversion refuses it
      {"1.", TokenSyntax::valid, 2, real},
      {".5", TokenSyntax::valid, 2, real},
      {"1.0D2", TokenSyntax::valid, 5, real},
      {"1E", TokenSyntax::valid, 2, real},
      {"2q-3", TokenSyntax::valid, 4, real},
      {"1.0+2", TokenSyntax::valid, 5, real},
      {"-1e-5", TokenSyntax::valid, 5, real},
      {"1E5.5", TokenSyntax::valid, 5, real},  // left-over bytes are a conversion matter
  });
}

TEST(NumberTokenSyntax, EachRuleReportsWhereItBroke) {
  expectScans({
      {"abc", TokenSyntax::illegalByte, 0},
      {"12a", TokenSyntax::illegalByte, 2},
      {"1\r", TokenSyntax::illegalByte, 1},
      {"\xEF\xBB\xBF" "1", TokenSyntax::illegalByte, 0},  // a byte-order mark
      {"1.2.3", TokenSyntax::secondPoint, 3},
      {"1E2.5.", TokenSyntax::secondPoint, 5},
      {"--1", TokenSyntax::signWithoutDigit, 1},
      {"1+-2", TokenSyntax::signWithoutDigit, 2},
      {"1E+-2", TokenSyntax::signWithoutDigit, 3},
      {"E5", TokenSyntax::exponentWithoutDigit, 0},
      {".E5", TokenSyntax::exponentWithoutDigit, 1},
      {"-E5", TokenSyntax::exponentWithoutDigit, 1},
      {"1+E", TokenSyntax::exponentWithoutDigit, 2},
      {"1E2E3", TokenSyntax::secondExponent, 3},
      {"1EE", TokenSyntax::secondExponent, 2},
      {"+", TokenSyntax::missingDigit, 1},
      {".", TokenSyntax::missingDigit, 1},
      {"", TokenSyntax::missingDigit, 0},
      {"1E-", TokenSyntax::missingDigit, 3},
      {"5.-", TokenSyntax::missingDigit, 3},
  });
}

// Floats compared by their bits, so that a wrong zero sign or a neighbour
// one unit away shows.
std::uint32_t bits(float value) { return std::bit_cast<std::uint32_t>(value); }

struct RealCase {
  std::string token;
  Status status;
  float value = 0.0f;
};

void expectReals(const std::vector<RealCase>& cases) {
  for (const RealCase& c : cases) {
    ASSERT_EQ(scanNumberToken(c.token).syntax, TokenSyntax::valid) << c.token;
    const RealConversion converted = convertReal(c.token);
    EXPECT_EQ(converted.status, c.status) << c.token;
    if (c.status == Status::converted) {
      EXPECT_EQ(bits(converted.value), bits(c.value)) << c.token << " gave " << converted.value;
    }
  }
}

TEST(ConvertReal, ExponentAtALetterOrAtASignAfterTheSignificand) {
  expectReals({
      {"7", Status::converted, 7.0f},
      {"-7", Status::converted, -7.0f},
      {"1-2", Status::converted, static_cast<float>(0.01)},
      {"1.0+2", Status::converted, 100.0f},
      {"2.5D-1", Status::converted, 0.25f},
      {"2.5d-1", Status::converted, 0.25f},
      {"2q-3", Status::converted, static_cast<float>(0.002)},
      {"1E", Status::converted, 1.0f},
      {"1.E+2", Status::converted, 100.0f},
      {"-.5", Status::converted, -0.5f},
      {"5.-3", Status::converted, static_cast<float>(0.005)},
      {"-1.5e1", Status::converted, -15.0f},
      {"0012.50", Status::converted, 12.5f},
  });
}

TEST(ConvertReal, LeftOverBytesAndMissingSignificand) {
  expectReals({
      {"1E5.5", Status::bytesAfterExponent},
      {"1+2+3", Status::bytesAfterExponent},
      {"1E.5", Status::bytesAfterExponent},
      {"1+.5", Status::bytesAfterExponent},
      {".-5", Status::noSignificandDigit},
  });
}

TEST(ConvertReal, RangeLimitsDecidedByTheRoundedMagnitude) {
  expectReals({
      {"3.4028235e38", Status::converted, FLT_MAX},
      {"-3.4028235e38", Status::converted, -FLT_MAX},
      {"3.40282356e38", Status::converted, FLT_MAX},  // below half an ulp over FLT_MAX
      {"3.4028236e38", Status::outOfRange},
      {"-3.4028236e38", Status::outOfRange},
      {"1.0e39", Status::outOfRange},
      {"1e400", Status::outOfRange},  // beyond double too
      {"1.0e-50", Status::converted, 0.0f},
      {"1e-400", Status::converted, 0.0f},
      {"1e-40", Status::converted, static_cast<float>(1e-40)},  // subnormal, kept
      {"1.4e-45", Status::converted, std::bit_cast<float>(std::uint32_t{1})},
      {"0.7e-45", Status::converted, 0.0f},  // half the smallest subnormal and a bit less
  });
}

TEST(ConvertReal, ValueDecidedNeverTheSpelling) {
  const std::string zeros50(50, '0');
  const std::string zeros400(400, '0');
  expectReals({
      {"0." + zeros50 + "1e40", Status::converted, static_cast<float>(1e-11)},
      {"1" + zeros400 + "e-390", Status::converted, 1e10f},
      {"1" + std::string(45, '0') + "e-10", Status::converted, 1e35f},
      {"0." + zeros400 + "1e360", Status::converted, static_cast<float>(1e-41)},
      {"0e99999999999999999999999", Status::converted, 0.0f},  // zero stays zero
      {"1e99999999999999999999999", Status::outOfRange},
      {"1e-99999999999999999999999", Status::converted, 0.0f},
      {"0." + zeros400 + "1", Status::converted, 0.0f},
  });
}

TEST(ConvertReal, RoundsToDoubleFirstThenToFloat) {
  // 1 + 2^-24 is the midpoint between 1 and the next float. Just above it,
  // the decimal is nearest to the midpoint itself in double, and the tie then
  // goes to the even float 1.0 (rounding straight to float would give the
  // upper neighbour).
  expectReals({{"1.000000059604644775390626", Status::converted, 1.0f}});
  // Many digits still round correctly in double.
  const DoubleConversion third = convertDouble("0." + std::string(300, '3'));
  EXPECT_EQ(third.value, 1.0 / 3.0);
  const DoubleConversion tiny = convertDouble("4.9406564584124654e-324");
  EXPECT_EQ(tiny.value, 0x1p-1074);
}

struct IntegerCase {
  std::string token;
  Status status;
  std::int32_t value = 0;
};

TEST(ConvertInteger, IntegerFormWithinTheSigned32BitRange) {
  const std::vector<IntegerCase> cases = {
      {"0", Status::converted, 0},
      {"+3", Status::converted, 3},
      {"007", Status::converted, 7},
      {"2147483647", Status::converted, 2147483647},
      {"-2147483648", Status::converted, INT32_MIN},
      {"00000000000000000000042", Status::converted, 42},
      {"2147483648", Status::outOfRange},
      {"-2147483649", Status::outOfRange},
      {"99999999999999999999999", Status::outOfRange},
      {"1-2", Status::innerSign},
      {"1+2", Status::innerSign},
      {"-5-3", Status::innerSign},
  };
  for (const IntegerCase& c : cases) {
    const IntegerConversion converted = convertInteger(c.token);
    EXPECT_EQ(converted.status, c.status) << c.token;
    if (c.status == Status::converted) {
      EXPECT_EQ(converted.value, c.value) << c.token;
    }
  }
}

TEST(ConvertInteger, RealFormTruncatedThenCutToTheLow32Bits) {
  const std::vector<IntegerCase> cases = {
      {"3.7", Status::converted, 3},
      {"-3.7", Status::converted, -3},
      {"1E3", Status::converted, 1000},
      {"2.5E9", Status::converted, -1794967296},
      {"4294967296.0", Status::converted, 0},
      {"4294967295.9", Status::converted, -1},
      {"9.2e18", Status::converted, -1650982912},
      {"-9.2e18", Status::converted, 1650982912},
      {"9.3e18", Status::converted, 0},                     // 2^63 and beyond give 0
      {"-9.2233720368547758e18", Status::converted, 0},     // exactly -2^63
      {"1e308", Status::converted, 0},
      {"1e-400", Status::converted, 0},
      {"-0.5", Status::converted, 0},
      {"1.0+2", Status::converted, 100},
      {"1e309", Status::outOfRange},  // beyond the double range
      {"-1.8e308", Status::outOfRange},
      {"1E5.5", Status::bytesAfterExponent},
      {".-5", Status::noSignificandDigit},
  };
  for (const IntegerCase& c : cases) {
    const IntegerConversion converted = convertInteger(c.token);
    EXPECT_EQ(converted.status, c.status) << c.token;
    if (c.status == Status::converted) {
      EXPECT_EQ(converted.value, c.value) << c.token;
    }
  }
}

TEST(RepeatCount, IntegerOfIntegerFormOfAnySize) {
  for (const char* count : {"3", "+3", "0007", "99999999999999999999"}) {
    EXPECT_TRUE(isIntegerOfIntegerForm(count)) << count;
  }
  for (const char* count : {"2.5", "1-2", "1E3", "+", ""}) EXPECT_FALSE(isIntegerOfIntegerForm(count)) << count;
}

}  // namespace
}  // namespace corrsum

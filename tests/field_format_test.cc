// The number fields, as tables of (value, exact field text).
#include "textio/field_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

namespace corrsum {
namespace {

std::string realField(float value) {
  char field[kRealFieldWidth];
  formatRealField(value, field);
  return std::string(field, kRealFieldWidth);
}

std::string integerField(std::int32_t value) {
  char field[kIntegerFieldWidth];
  formatIntegerField(value, field);
  return std::string(field, kIntegerFieldWidth);
}

struct RealCase {
  float value;
  const char* field;
};

void expectFields(std::initializer_list<RealCase> cases) {
  for (const RealCase& c : cases) EXPECT_EQ(realField(c.value), c.field) << std::hexfloat << c.value;
}

TEST(IntegerField, RightJustifiedInTwelveColumns) {
  EXPECT_EQ(integerField(0), "           0");
  EXPECT_EQ(integerField(1), "           1");
  EXPECT_EQ(integerField(-7), "          -7");
  EXPECT_EQ(integerField(1000), "        1000");
  EXPECT_EQ(integerField(2147483647), "  2147483647");
  EXPECT_EQ(integerField(-2147483647 - 1), " -2147483648");
}

TEST(RealField, FixedFormShowsSevenSignificantDigits) {
  expectFields({
      {1.0f, "   1.000000    "},
      {0.1f, "  0.1000000    "},
      {10.0f, "   10.00000    "},
      {-2.302585f, "  -2.302585    "},
      {-0.6931472f, " -0.6931472    "},
      {27397.26f, "   27397.26    "},
      {1000000.0f, "   1000000.    "},
      {1234567.0f, "   1234567.    "},
      {9999999.0f, "   9999999.    "},
      {-11.51293f, "  -11.51293    "},
  });
}

TEST(RealField, ExponentFormShowsEightSignificantDigits) {
  expectFields({
      {0.05f, "  5.0000001E-02"},
      {-1.0e-5f, " -9.9999997E-06"},
      {1.0e7f, "  1.0000000E+07"},
      {std::numeric_limits<float>::max(), "  3.4028235E+38"},
      {-5.0024374e-04f, " -5.0024374E-04"},
      {1.0e20f, "  1.0000000E+20"},
  });
}

TEST(RealField, ExactTiesGoToTheEvenDigit) {
  expectFields({
      {0.11328125f, "  0.1132812    "},
      {0.10546875f, "  0.1054688    "},
      {8388606.5f, "   8388606.    "},
      {8388607.5f, "   8388608.    "},
      {-8388607.5f, "  -8388608.    "},
  });
}

TEST(RealField, FormBoundariesAreDecidedOnTheExactValue) {
  // 0.099999994 lies below 0.1 - 0.5e-8; the float above it is 0.1 itself.
  expectFields({
      {std::nextafter(0.1f, 0.0f), "  9.9999994E-02"},
      {0.1f, "  0.1000000    "},
      // The float after 9999999 is 1e7 itself, beyond the fixed form.
      {9999999.0f, "   9999999.    "},
      {std::nextafter(9999999.0f, 1e8f), "  1.0000000E+07"},
      // Rounding to seven digits can carry into a new integer digit, which
      // then takes a place from the fraction.
      {99999.99609375f, "   100000.0    "},
      {0.99999994f, "  0.9999999    "},
  });
}

TEST(RealField, ZerosSubnormalsInfinitiesAndNaN) {
  expectFields({
      {0.0f, "  0.0000000E+00"},
      {-0.0f, "  0.0000000E+00"},
      {std::numeric_limits<float>::denorm_min(), "  1.4012985E-45"},
      {-std::numeric_limits<float>::denorm_min(), " -1.4012985E-45"},
      {std::numeric_limits<float>::infinity(), " Infinity      "},
      {-std::numeric_limits<float>::infinity(), " -Infinity     "},
      {std::numeric_limits<float>::quiet_NaN(), " NaN           "},
      {std::bit_cast<float>(0xFFC00001u), " NaN           "},
  });
}

}  // namespace
}  // namespace corrsum

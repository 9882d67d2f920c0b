// Reading curve files: the field syntax, the repeated rows of doubled bins,
// and the rows that stop the reading.
#include "report/curve_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "tests/report_curve_maker.h"

namespace corrsum::report {
namespace {

TEST(ReportCurveFile, FieldTextsGiveTheirValues) {
  struct Case {
    const char* field;
    double value;
  };
  const Case cases[] = {
      {" -0.6891631    ", -0.6891631},     {"  0.0000000E+00", 0.0},
      {"  5.0000001E-02", 5.0000001e-02}, {" -9.9999997E-06", -9.9999997e-06},
      {"   1234567.    ", 1234567.0},     {"  3.4028235E+38", 3.4028235e+38},
      {"  1.4012985E-45", 1.4012985e-45}, {"   -11.51293    ", -11.51293},
      {"-5.0024374E-04 ", -5.0024374e-04},
  };
  for (const Case& c : cases) {
    const std::optional<double> v = parseCurveField(c.field);
    ASSERT_TRUE(v.has_value()) << '"' << c.field << '"';
    EXPECT_EQ(*v, c.value) << '"' << c.field << '"';
  }
  EXPECT_EQ(parseCurveField(" Infinity      "), HUGE_VAL);
  EXPECT_EQ(parseCurveField(" -Infinity     "), -HUGE_VAL);
  const std::optional<double> nan = parseCurveField(" NaN           ");
  ASSERT_TRUE(nan.has_value());
  EXPECT_TRUE(std::isnan(*nan));
}

TEST(ReportCurveFile, FieldTextsThatAreNoNumber) {
  for (const char* field : {"               ", "  1.0  2.0     ", "  +1.000000    ", "  1,500000     ",
                            "  0x10         ", "  inf          ", "  nan          ", "  1.0E         ",
                            "  1.0E+        ", "  -            ", "  .5           ", "  1.0\t        ",
                            "  infinity     ", "  1.0E+99999   "}) {
    EXPECT_FALSE(parseCurveField(field).has_value()) << '"' << field << '"';
  }
}

TEST(ReportCurveFile, RepeatedRowsAreKeptOnce) {
  const CurveReadResult r = readCurve(
      " -0.6891631      0.0000000E+00\r\n"
      " -0.6891631      0.0000000E+00\r\n"
      " -0.6852105     -0.6931472    \r\n"
      " -5.0024374E-04  0.0000000E+00\r\n"
      " -5.0024374E-04  0.0000000E+00\r\n");
  ASSERT_TRUE(r.ok()) << r.fault;
  EXPECT_EQ(r.rowsRead, 5);
  EXPECT_EQ(r.repeatedRows, 2);
  ASSERT_EQ(r.points.size(), 3u);
  EXPECT_EQ(r.points[0].lnR, -0.6891631);
  EXPECT_EQ(r.points[1].lnC, -0.6931472);
  EXPECT_EQ(r.points[2].lnR, -5.0024374e-04);
}

TEST(ReportCurveFile, BareLineFeedsAndAMissingLastLineEndAreRead) {
  const CurveReadResult r = readCurve(" -0.6891631      0.0000000E+00\n -0.6852105      0.0000000E+00");
  ASSERT_TRUE(r.ok()) << r.fault;
  EXPECT_EQ(r.points.size(), 2u);
  EXPECT_TRUE(readCurve("").ok());
  EXPECT_TRUE(readCurve("").points.empty());
}

TEST(ReportCurveFile, TheProgramsOwnRowsReadBack) {
  // One pair at squared distance 0.25: 163 rows from bin 252000 to 999000,
  // of which the doubled bins 300000, 500000 and 600000 repeat.
  const CurveReadResult r = readCurve(testing::curveFileFor({0.0f, 0.5f, 1.0f}, 1));
  ASSERT_TRUE(r.ok()) << r.fault;
  EXPECT_EQ(r.rowsRead, 163);
  EXPECT_EQ(r.repeatedRows, 3);
  ASSERT_EQ(r.points.size(), 160u);
  EXPECT_EQ(r.points.front().lnR, -0.6891631);
  EXPECT_EQ(r.points.back().lnR, -5.0024374e-04);
  for (const CurvePoint& p : r.points) EXPECT_EQ(p.lnC, 0.0);
}

TEST(ReportCurveFile, MalformedRowsStopTheReadingWithLineAndReason) {
  const std::string good = " -0.6891631      0.0000000E+00\r\n";
  struct Case {
    std::string bytes;
    int line;
    std::string fault;
  };
  const Case cases[] = {
      {good + " -0.6852105   0.0000000E+00\r\n", 2,
       "a row is 30 columns, this one is 27: \" -0.6852105   0.0000000E+00\""},
      {good + " -0.6852105      0.0000000E+00 \r\n", 2, "a row is 30 columns, this one is 31"},
      {good + "\r\n" + good, 2, "a row is 30 columns, this one is 0: \"\""},
      {" -0.6891631      0.0000000E+00\r", 1, "this one is 31: \" -0.6891631      0.0000000E+00\\r\""},
      {good + " -0.6852105      0.000000OE+00\r\n", 2,
       "ln C (columns 16-30) is not a number: \"  0.000000OE+00\""},
      {"Enter INPUT FileName (----.TM)\r\n", 1, "ln r (columns 1-15) is not a number: \"Enter INPUT Fil\""},
      {good + " -0.6900000      0.0000000E+00\r\n", 2,
       "ln r does not increase: \" -0.6900000    \" follows \" -0.6891631    \""},
      {good + " -0.6891631     -0.6931472    \r\n", 2, "ln r does not increase"},
  };
  for (const Case& c : cases) {
    const CurveReadResult r = readCurve(c.bytes);
    EXPECT_FALSE(r.ok()) << c.bytes;
    EXPECT_EQ(r.faultLine, c.line) << c.bytes;
    EXPECT_NE(r.fault.find(c.fault), std::string::npos) << r.fault;
  }
}

TEST(ReportCurveFile, NonFiniteRowsAreReadAndSkippedByTheOrderCheck) {
  // A series without spread writes -Infinity for ln r; such rows are rows.
  const CurveReadResult r = readCurve(
      " -Infinity       0.0000000E+00\r\n"
      " NaN            -0.6931472    \r\n"
      " -0.6891631      0.0000000E+00\r\n");
  ASSERT_TRUE(r.ok()) << r.fault;
  ASSERT_EQ(r.points.size(), 3u);
  EXPECT_EQ(r.points[0].lnR, -HUGE_VAL);
  EXPECT_TRUE(std::isnan(r.points[1].lnR));
}

}  // namespace
}  // namespace corrsum::report

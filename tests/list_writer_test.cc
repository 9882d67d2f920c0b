// Record layout: where items go, where records break, and the line ends.
#include "textio/list_writer.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace corrsum {
namespace {

std::string layout(std::initializer_list<ListItem> items) {
  StringSink sink;
  ListWriter(sink).writeList(items);
  return sink.bytes;
}

// Records are handed on one by one, each with its own CR LF.
class RecordingSink : public RecordSink {
 public:
  void putRecord(std::string_view record) override { records.emplace_back(record); }
  std::vector<std::string> records;
};

const std::string kName64 = "d2.dat" + std::string(58, ' ');

TEST(ListWriter, WorkedExamples) {
  struct Case {
    std::string written;
    std::string expected;
  } cases[] = {
      {layout({" Enter INPUT FileName (----.TMS)"}), "  Enter INPUT FileName (----.TMS)\r\n"},
      {layout({" Enter the ", 1, "-th Embeding dimension ?"}), "  Enter the            1-th Embeding dimension ?\r\n"},
      {layout({" Number of points in the input-Filename =", 1000}),
       "  Number of points in the input-Filename =        1000\r\n"},
      {layout({"******* NDIM=", 2, " **********"}), " ******* NDIM=           2 **********\r\n"},
      {layout({"******* Filename=", std::string_view(kName64), " ***"}),
       " ******* Filename=\r\n " + kName64 + " ***\r\n"},
      {layout({" Minimum number in the time-series= ", -2.302585f}),
       "  Minimum number in the time-series=   -2.302585    \r\n"},
      {layout({" Rat=", 27397.26f}), "  Rat=   27397.26    \r\n"},
      {layout({" Rat=", 1.0e7f}), "  Rat=  1.0000000E+07\r\n"},
      {layout({" Rat=", std::numeric_limits<float>::infinity()}), "  Rat= Infinity      \r\n"},
      {layout({-2.302585f, -11.51293f}), "  -2.302585      -11.51293    \r\n"},
      {layout({-0.6931472f, 0.0f}), " -0.6931472      0.0000000E+00\r\n"},
      {layout({}), " \r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.written, c.expected);
}

TEST(ListWriter, CurveRowIsAlwaysThirtyColumns) {
  for (float a : {0.0f, -1.0e-30f, 123.0f, -std::numeric_limits<float>::infinity()})
    for (float b : {-0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN()}) {
      const std::string row = layout({a, b});
      EXPECT_EQ(row.size(), 32u) << row;
      EXPECT_EQ(row.substr(30), "\r\n");
    }
}

TEST(ListWriter, LongTextsSplitOnlyBeyondSeventyNineBytes) {
  const std::string t79(79, 'x'), t80(80, 'y');
  EXPECT_EQ(layout({std::string_view(t79)}), " " + t79 + "\r\n");
  EXPECT_EQ(layout({std::string_view(t80)}), " " + t80.substr(0, 79) + "\r\n y\r\n");
  const std::string t200(200, 'z');
  EXPECT_EQ(layout({std::string_view(t200)}),
            " " + std::string(79, 'z') + "\r\n " + std::string(79, 'z') + "\r\n " + std::string(42, 'z') + "\r\n");
}

TEST(ListWriter, TextThatDoesNotFitMovesWholeToTheNextRecord) {
  const std::string t60(60, 'a'), t20(20, 'b'), t19(19, 'c');
  // 1 + 60 + 19 = 80 fits exactly; one more byte does not.
  EXPECT_EQ(layout({std::string_view(t60), std::string_view(t19)}), " " + t60 + t19 + "\r\n");
  EXPECT_EQ(layout({std::string_view(t60), std::string_view(t20)}), " " + t60 + "\r\n " + t20 + "\r\n");
}

TEST(ListWriter, NumberThatDoesNotFitStartsTheNextRecordWithItsOwnField) {
  const std::string t70(70, 'n');
  EXPECT_EQ(layout({std::string_view(t70), 5}), " " + t70 + "\r\n           5\r\n");
  // Six reals take 90 columns: five fit into 80 columns, the sixth moves.
  EXPECT_EQ(layout({1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 2.0f}),
            std::string("   1.000000    ") + "   1.000000    " + "   1.000000    " + "   1.000000    " +
                "   1.000000    " + "\r\n   2.000000    \r\n");
  // A text after a number follows it directly.
  EXPECT_EQ(layout({7, "-th"}), "           7-th\r\n");
}

TEST(ListWriter, EveryRecordIsHandedOnAsSoonAsItIsComplete) {
  RecordingSink sink;
  ListWriter writer(sink);
  writer.writeList({"******* Filename=", std::string_view(kName64), " ***"});
  writer.writeSeparator();
  ASSERT_EQ(sink.records.size(), 3u);
  EXPECT_EQ(sink.records[0], " ******* Filename=\r\n");
  EXPECT_EQ(sink.records[1], " " + kName64 + " ***\r\n");
  EXPECT_EQ(sink.records[2], "\r\n\r\n");
}

}  // namespace
}  // namespace corrsum

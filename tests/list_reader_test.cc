// Free-format values: what the first byte of an answer or a series line
// makes of it, the value stored, the reason a read stops, and the report a
// failed read ends the run with.
#include "textio/list_reader.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/report_pattern.h"

namespace corrsum {
namespace {

// A target's value before the read, to show that it was left alone.
constexpr std::int32_t kUntouched = 12345;
constexpr float kUntouchedReal = 0.5f;

struct IntegerCase {
  std::string text;  // the bytes of the source
  ReadStatus status;
  std::int32_t value = kUntouched;
  ReadCause cause = ReadCause::none;
};

void expectIntegerReads(const std::vector<IntegerCase>& cases) {
  for (const IntegerCase& c : cases) {
    RecordSource source = RecordSource::fromText(c.text);
    ListReader reader(source, -4, "CONIN$");
    std::int32_t target = kUntouched;
    const ReadResult result = reader.readIntegerValue(target);
    const std::string shown = ::testing::PrintToString(c.text);
    EXPECT_EQ(result.status, c.status) << shown;
    EXPECT_EQ(result.cause, c.cause) << shown;
    EXPECT_EQ(target, c.value) << shown;
  }
}

TEST(ListReaderInteger, ValuesAndWhatIsSkippedBeforeThem) {
  expectIntegerReads({
      {"  42  \n", ReadStatus::value, 42},
      {"42 17\n", ReadStatus::value, 42},
      {"42,17\n", ReadStatus::value, 42},
      {"\t-7\t\n", ReadStatus::value, -7},
      {"\n   \n\t\n 5\n", ReadStatus::value, 5},  // blank records are passed over
      {"5 abc\n", ReadStatus::value, 5},          // the rest of the record is not examined
      {"5)\n", ReadStatus::value, 5},
      {"+3", ReadStatus::value, 3},
      {"-2147483648\n", ReadStatus::value, INT32_MIN},
      {"3.7\n", ReadStatus::value, 3},
      {"-3.7\n", ReadStatus::value, -3},
      {"1E3\n", ReadStatus::value, 1000},
      {"2.5E9\n", ReadStatus::value, -1794967296},
      {"7\r\n", ReadStatus::value, 7},
  });
}

TEST(ListReaderInteger, TruthValuesCountOnlyTheirFirstLetter) {
  expectIntegerReads({
      {"T\n", ReadStatus::value, -1},
      {"true\n", ReadStatus::value, -1},
      {".TRUE.\n", ReadStatus::value, -1},
      {"t,5\n", ReadStatus::value, -1},
      {"F\n", ReadStatus::value, 0},
      {"fred\n", ReadStatus::value, 0},
      {".f\n", ReadStatus::value, 0},
      {"Tx9*)\n", ReadStatus::value, -1},  // nothing after the letter is checked
  });
}

TEST(ListReaderInteger, NullValuesLeaveTheTarget) {
  expectIntegerReads({
      {",\n", ReadStatus::nullValue},
      {"/\n", ReadStatus::nullValue},
      {"  ,5\n", ReadStatus::nullValue},
      {"3*\n", ReadStatus::nullValue},
      {"3* 9\n", ReadStatus::nullValue},
      {"3*\t9\n", ReadStatus::nullValue},
      {"3*,9\n", ReadStatus::nullValue},
      {"3*/\n", ReadStatus::nullValue},
  });
}

TEST(ListReaderInteger, RepeatCountThenOneValue) {
  expectIntegerReads({
      {"3*7\n", ReadStatus::value, 7},
      {"3*T\n", ReadStatus::value, -1},
      {"99999999999999999999*4\n", ReadStatus::value, 4},  // the count's size does not matter
      {"3*2.5\n", ReadStatus::value, 2},
      {"2*'x'\n", ReadStatus::conversionError, kUntouched, ReadCause::quotedString},
      {"3*abc\n", ReadStatus::syntaxError, kUntouched, ReadCause::numberSyntax},
      {"3**\n", ReadStatus::syntaxError, kUntouched, ReadCause::repeatWithoutCount},
      {"2.5*7\n", ReadStatus::conversionError, kUntouched, ReadCause::repeatCountNotInteger},
      {"1-2*7\n", ReadStatus::conversionError, kUntouched, ReadCause::repeatCountNotInteger},
      {"abc*7\n", ReadStatus::syntaxError, kUntouched, ReadCause::numberSyntax},
  });
}

TEST(ListReaderInteger, SyntaxErrors) {
  constexpr auto syntax = ReadStatus::syntaxError;
  expectIntegerReads({
      {"abc\n", syntax, kUntouched, ReadCause::numberSyntax},
      {"1.2.3\n", syntax, kUntouched, ReadCause::numberSyntax},
      {"--1\n", syntax, kUntouched, ReadCause::numberSyntax},
      {"E5\n", syntax, kUntouched, ReadCause::numberSyntax},
      {"+\n", syntax, kUntouched, ReadCause::numberSyntax},
      {".\n", syntax, kUntouched, ReadCause::numberSyntax},
      {".x\n", syntax, kUntouched, ReadCause::numberSyntax},
      {")\n", syntax, kUntouched, ReadCause::numberSyntax},
      {"7\r\r\n", syntax, kUntouched, ReadCause::numberSyntax},  // a carriage return inside the record
      {"\xEF\xBB\xBF" "7\n", syntax, kUntouched, ReadCause::numberSyntax},
      {"*7\n", syntax, kUntouched, ReadCause::repeatWithoutCount},
      {"*\n", syntax, kUntouched, ReadCause::repeatWithoutCount},
      {"(1,2)\n", syntax, kUntouched, ReadCause::parenthesis},
      {"(\n", syntax, kUntouched, ReadCause::parenthesis},
  });
}

TEST(ListReaderInteger, ConversionErrors) {
  constexpr auto conversion = ReadStatus::conversionError;
  expectIntegerReads({
      {"2147483648\n", conversion, kUntouched, ReadCause::numberConversion},
      {"-2147483649\n", conversion, kUntouched, ReadCause::numberConversion},
      {"1+2\n", conversion, kUntouched, ReadCause::numberConversion},
      {"1E5.5\n", conversion, kUntouched, ReadCause::numberConversion},
      {"1e309\n", conversion, kUntouched, ReadCause::numberConversion},
      {"'12'\n", conversion, kUntouched, ReadCause::quotedString},
      {"\"12\"\n", conversion, kUntouched, ReadCause::quotedString},
  });
}

TEST(ListReaderInteger, EndOfInput) {
  expectIntegerReads({
      {"", ReadStatus::endOfInput},
      {"\n \t\n\n", ReadStatus::endOfInput},
      {"\x1a\n5\n", ReadStatus::endOfInput},
      {"\n\x1a\r\n5\n", ReadStatus::endOfInput},
      {"'never closed\nstill open\n", ReadStatus::endOfInput},  // not a wait
  });
}

TEST(ListReaderInteger, ConversionReasonsAreKept) {
  RecordSource source = RecordSource::fromText("2147483648\n1+2\n1E5.5\n1.2.3\n");
  ListReader reader(source, -4, "CONIN$");
  std::int32_t target = 0;
  EXPECT_EQ(reader.readIntegerValue(target).conversion, ConversionStatus::outOfRange);
  EXPECT_EQ(reader.readIntegerValue(target).conversion, ConversionStatus::innerSign);
  EXPECT_EQ(reader.readIntegerValue(target).conversion, ConversionStatus::bytesAfterExponent);
  EXPECT_EQ(reader.readIntegerValue(target).syntax, TokenSyntax::secondPoint);
}

TEST(ListReaderSequence, EachReadStartsOnAFreshRecord) {
  RecordSource source = RecordSource::fromText("42 17\n\n  \n8,9\n3*\n2 out.dat\n");
  ListReader reader(source, -4, "CONIN$");
  std::int32_t target = 0;
  for (const std::int32_t expected : {42, 8, 8, 2}) {
    const ReadResult result = reader.readIntegerValue(target);
    EXPECT_TRUE(result.status == ReadStatus::value || result.status == ReadStatus::nullValue);
    EXPECT_EQ(target, expected);
  }
  EXPECT_EQ(reader.readIntegerValue(target).status, ReadStatus::endOfInput);
}

TEST(ListReaderSequence, QuotedStringsRunOverRecordsWithDoubledQuotes) {
  // The string is  a' 5<line end>7  : the doubled quote does not close it,
  // and the next read begins after the record that did.
  RecordSource source = RecordSource::fromText("'a'' 5\n7'\n\"it\"\"s\" 3\n9\n");
  ListReader reader(source, -4, "CONIN$");
  std::int32_t target = 0;
  EXPECT_EQ(reader.readIntegerValue(target).cause, ReadCause::quotedString);
  EXPECT_EQ(reader.readIntegerValue(target).cause, ReadCause::quotedString);
  EXPECT_EQ(reader.readIntegerValue(target).status, ReadStatus::value);
  EXPECT_EQ(target, 9);
}

TEST(ListReaderSequence, QuotedStringsLongerThanTheLimitAreSyntaxErrors) {
  struct Case {
    std::string text;
    ReadCause cause;
  };
  const std::string limit(kQuotedStringLimit, 'x');
  const std::vector<Case> cases = {
      {"'" + limit + "'", ReadCause::quotedString},
      {"'" + limit + "x'", ReadCause::longQuotedString},
      {"'" + limit.substr(2) + "''x'", ReadCause::quotedString},  // '' is one character
      {"'" + limit + "'''", ReadCause::longQuotedString},
      {"\"" + limit.substr(49) + "\n" + limit.substr(0, 49) + "\"", ReadCause::quotedString},  // line ends not counted
      {"\"" + limit.substr(49) + "\n" + limit.substr(0, 50) + "\"", ReadCause::longQuotedString},
  };
  for (const Case& c : cases) {
    RecordSource source = RecordSource::fromText(c.text);
    ListReader reader(source, -4, "CONIN$");
    std::int32_t target = 0;
    const ReadResult result = reader.readIntegerValue(target);
    EXPECT_EQ(result.cause, c.cause) << c.text.size();
    EXPECT_EQ(result.status, c.cause == ReadCause::quotedString ? ReadStatus::conversionError
                                                                 : ReadStatus::syntaxError);
  }
}

struct RealCase {
  std::string text;
  ReadStatus status;
  float value = kUntouchedReal;
};

TEST(ListReaderReal, SeriesLines) {
  const std::vector<RealCase> cases = {
      {"1-2\n", ReadStatus::value, static_cast<float>(0.01)},
      {"1.0+2\n", ReadStatus::value, 100.0f},
      {"2.5d-1\n", ReadStatus::value, 0.25f},
      {"7\n", ReadStatus::value, 7.0f},
      {"  -1.5e3 2.0\n", ReadStatus::value, -1500.0f},
      {"3.4028235e38\n", ReadStatus::value, FLT_MAX},
      {"1.0e-50\n", ReadStatus::value, 0.0f},
      {"T\n", ReadStatus::value, -1.0f},
      {"F\n", ReadStatus::value, 0.0f},
      {"2*1.5\n", ReadStatus::value, 1.5f},
      {",\n", ReadStatus::nullValue},
      {"/\n", ReadStatus::nullValue},
      {"1.0e39\n", ReadStatus::conversionError},
      {"3.4028236e38\n", ReadStatus::conversionError},
      {"'1.0'\n", ReadStatus::conversionError},
      {"1.0x\n", ReadStatus::syntaxError},
      {"\n\n", ReadStatus::endOfInput},
  };
  for (const RealCase& c : cases) {
    RecordSource source = RecordSource::fromText(c.text);
    ListReader reader(source, 7, "/data/s.tms");
    float target = kUntouchedReal;
    EXPECT_EQ(reader.readRealValue(target).status, c.status) << ::testing::PrintToString(c.text);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(target), std::bit_cast<std::uint32_t>(c.value))
        << ::testing::PrintToString(c.text) << " gave " << target;
  }
}

TEST(ListReaderReal, TheSeriesEndsAtTheEndOfInputOrTheMark) {
  struct Case {
    std::string text;
    std::vector<float> values;  // each read until readReal says the series ended
  };
  const std::vector<Case> cases = {
      {"1.0 2.0\n\n3.0\n\n\n", {1.0f, 3.0f}},
      {"4.0\n5.0", {4.0f, 5.0f}},
      {"1\n\x1a\n2\n", {1.0f}},
      {"1\n,\n/\n2\n", {1.0f, 1.0f, 1.0f, 2.0f}},  // a null value counts as a value read
      {"'open\n", {}},
  };
  for (const Case& c : cases) {
    RecordSource source = RecordSource::fromText(c.text);
    ListReader reader(source, 7, "/data/s.tms");
    std::vector<float> values;
    float target = 0.0f;
    while (reader.readReal(target)) values.push_back(target);
    EXPECT_EQ(values, c.values) << ::testing::PrintToString(c.text);
  }
}

using corrsum::testing::startsWithText;

TEST(ListReaderDeathTest, AFailedAnswerEndsTheRunWithItsReport) {
  struct Case {
    std::string text;
    int number;
    std::string report;
  };
  const std::vector<Case> cases = {
      {"abc\n", 59, "corrsum: severe (59): list-directed I/O syntax error, unit -4, file CONIN$\r\n"},
      {"2147483648\n", 64, "corrsum: severe (64): input conversion error, unit -4, file CONIN$\r\n"},
      {"'12'\n", 64, "corrsum: severe (64): input conversion error, unit -4, file CONIN$\r\n"},
      {"\n\n", 24, "corrsum: severe (24): end-of-file during read, unit -4, file CONIN$\r\n"},
      {"\x1a\n7\n", 24, "corrsum: severe (24): end-of-file during read, unit -4, file CONIN$\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(
        {
          RecordSource source = RecordSource::fromText(c.text);
          ListReader reader(source, -4, "CONIN$");
          std::int32_t target = 0;
          reader.readInteger(target);
          std::_Exit(100);  // not reached when the run ends
        },
        ::testing::ExitedWithCode(c.number), startsWithText(c.report))
        << ::testing::PrintToString(c.text);
  }
}

TEST(ListReaderDeathTest, AFailedSeriesValueNamesTheSeriesFile) {
  EXPECT_EXIT(
      {
        RecordSource source = RecordSource::fromText("1.0\nx\n");
        ListReader reader(source, 7, "/data/s.tms");
        float target = 0.0f;
        reader.readReal(target);
        reader.readReal(target);
        std::_Exit(100);
      },
      ::testing::ExitedWithCode(59),
      startsWithText("corrsum: severe (59): list-directed I/O syntax error, unit 7, file /data/s.tms\r\n"));
}

TEST(ListReaderDeathTest, ARefusedReadCarriesTheSystemText) {
  EXPECT_EXIT(
      {
        RecordSource source = RecordSource::forConsole(::open("/", O_RDONLY | O_DIRECTORY));
        ListReader reader(source, -4, "CONIN$");
        std::int32_t target = 0;
        reader.readInteger(target);
        std::_Exit(100);
      },
      ::testing::ExitedWithCode(39),
      startsWithText("corrsum: Is a directory\r\ncorrsum: severe (39): error during read, unit -4, file CONIN$\r\n"));
}

// Caps the address space a little above what the process holds, so that a
// record without end runs out of memory quickly.
void limitMemoryToCurrentPlus(std::size_t bytes) {
  long pages = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  const auto current = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
  const rlimit limit{current + bytes, current + bytes};
  ::setrlimit(RLIMIT_AS, &limit);
}

TEST(ListReaderDeathTest, ARecordThatCannotBeHeldIsTooLong) {
  EXPECT_EXIT(
      {
        limitMemoryToCurrentPlus(std::size_t{256} << 20);
        RecordSource source = RecordSource::forFile(::open("/dev/zero", O_RDONLY));  // no line feed, ever
        ListReader reader(source, 7, "/data/s.tms");
        float target = 0.0f;
        reader.readReal(target);
        std::_Exit(100);
      },
      ::testing::ExitedWithCode(22),
      startsWithText("corrsum: severe (22): input record too long, unit 7, file /data/s.tms\r\n"));
}

}  // namespace
}  // namespace corrsum

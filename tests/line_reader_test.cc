// Whole lines as name fields, and how they share the console input with the
// free-format answers.
#include "textio/line_reader.h"

#include <fcntl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/report_pattern.h"
#include "textio/list_reader.h"

namespace corrsum {
namespace {

std::string padded(std::string text) {
  text.resize(kNameFieldLength, ' ');
  return text;
}

TEST(LineReader, TakesTheFirst64BytesOfExactlyOneRecordUnchanged) {
  struct Case {
    std::string text;
    std::string field;
  };
  const std::string seventy = std::string(60, 'n') + "0123456789";
  const std::vector<Case> cases = {
      {"  data.txt  \n", padded("  data.txt  ")},
      {seventy + "\n", seventy.substr(0, 64)},
      {"\n", padded("")},
      {"   \t  \nnext\n", padded("   \t  ")},  // a blank line is a line, not skipped
      {"a,b 'c\"\t/\n", padded("a,b 'c\"\t/")},
      {"name\r\n", padded("name")},
      {"name", padded("name")},
      {"a\rb\n", padded("a\rb")},
  };
  for (const Case& c : cases) {
    RecordSource source = RecordSource::fromText(c.text);
    LineReader reader(source, -4, "CONIN$");
    NameField field;
    reader.readLine(field);
    EXPECT_EQ(std::string(field.view()), c.field) << ::testing::PrintToString(c.text);
  }
}

TEST(LineReader, AnAnswerLeavesTheRestOfItsLineToNobody) {
  // "2 out.dat": the dimension is 2, and the name comes from the next line.
  RecordSource source = RecordSource::fromText("2 out.dat\nc2.dat\n");
  ListReader numbers(source, -4, "CONIN$");
  LineReader lines(source, -4, "CONIN$");
  std::int32_t dimension = 0;
  numbers.readInteger(dimension);
  NameField field;
  lines.readLine(field);
  EXPECT_EQ(dimension, 2);
  EXPECT_EQ(std::string(field.view()), padded("c2.dat"));
}

using corrsum::testing::startsWithText;

TEST(LineReaderDeathTest, EndOfInputAndRefusedReadsEndTheRun) {
  const std::string endOfFile = "corrsum: severe (24): end-of-file during read, unit -4, file CONIN$\r\n";
  for (const std::string text : {"", "\x1a\n", "\x1a"}) {
    EXPECT_EXIT(
        {
          RecordSource source = RecordSource::fromText(text);
          LineReader reader(source, -4, "CONIN$");
          NameField field;
          reader.readLine(field);
          std::_Exit(100);
        },
        ::testing::ExitedWithCode(24), startsWithText(endOfFile))
        << ::testing::PrintToString(text);
  }
  EXPECT_EXIT(
      {
        RecordSource source = RecordSource::forConsole(::open("/", O_RDONLY | O_DIRECTORY));
        LineReader reader(source, -4, "CONIN$");
        NameField field;
        reader.readLine(field);
        std::_Exit(100);
      },
      ::testing::ExitedWithCode(39),
      startsWithText("corrsum: Is a directory\r\ncorrsum: severe (39): error during read, unit -4, file CONIN$\r\n"));
}

}  // namespace
}  // namespace corrsum

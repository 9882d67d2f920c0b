// Cutting bytes into records: line ends, the 0x1A mark, block and
// byte-at-a-time reading, and refused reads.
#include "textio/record_source.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/program_run.h"

namespace corrsum {
namespace {

// Every record up to the end of input, then one more call to show the end
// stays the end.
std::vector<std::string> allRecords(RecordSource& source) {
  std::vector<std::string> records;
  std::string record;
  RecordStatus status;
  while ((status = source.next(record)) == RecordStatus::record) records.push_back(record);
  EXPECT_EQ(status, RecordStatus::endOfInput);
  EXPECT_EQ(source.next(record), RecordStatus::endOfInput);
  return records;
}

TEST(RecordSource, LineEndsCarriageReturnsAndTheEndMark) {
  struct Case {
    std::string text;
    std::vector<std::string> records;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"\n", {""}},
      {"\n\n", {"", ""}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},            // the last line needs no line feed
      {"\r\n", {""}},
      {"a\r\r\n", {"a\r"}},               // only the one right before the line feed goes
      {"\ra\rb\n", {"\ra\rb"}},
      {"a\r", {"a\r"}},                   // no line feed: nothing is dropped
      {"1\n\x1a\nmore\n", {"1"}},         // nothing after the mark is data
      {"1\n\x1a", {"1"}},
      {"\x1a\r\nmore\n", {}},
      {"\x1a\x1a\n \x1a\n", {"\x1a\x1a", " \x1a"}},  // only a record that is exactly the mark
  };
  for (const Case& c : cases) {
    RecordSource source = RecordSource::fromText(c.text);
    EXPECT_EQ(allRecords(source), c.records) << ::testing::PrintToString(c.text);
  }
}

class RecordFile : public ::testing::Test {
 protected:
  int open(const std::string& name, const std::string& bytes) {
    dir_.write(name, bytes);
    const int fd = ::open((dir_ / name).c_str(), O_RDONLY);
    EXPECT_GE(fd, 0);
    fds_.push_back(fd);
    return fd;
  }
  ~RecordFile() override {
    for (int fd : fds_) ::close(fd);
  }

 private:
  corrsum::testing::TempDir dir_;
  std::vector<int> fds_;
};

TEST_F(RecordFile, RecordsAcrossBlockBoundariesAndLongerThanABlock) {
  // Records of every size around the block size, so that line feeds, the
  // carriage return before them and record starts all fall on boundaries.
  std::vector<std::string> expected;
  std::string bytes;
  for (std::size_t length : {65535u, 1u, 65536u, 0u, 200000u, 3u, 65534u}) {
    expected.push_back(std::string(length, 'x') + std::to_string(length));
    bytes += expected.back() + (length % 2 ? "\r\n" : "\n");
  }
  expected.push_back("tail");
  bytes += "tail";
  for (const bool console : {false, true}) {
    const int fd = open(console ? "console" : "file", bytes);
    RecordSource source = console ? RecordSource::forConsole(fd) : RecordSource::forFile(fd);
    EXPECT_EQ(allRecords(source), expected) << (console ? "byte at a time" : "in blocks");
  }
}

TEST_F(RecordFile, ConsoleInputFromAFileTakesNothingBeyondTheRecord) {
  const int fd = open("answers", "first\r\nsecond\n");
  RecordSource source = RecordSource::forConsole(fd);
  std::string record;
  ASSERT_EQ(source.next(record), RecordStatus::record);
  EXPECT_EQ(record, "first");
  EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 7);
}

TEST(ConsoleRecords, APipeSharedWithTheNextReaderKeepsItsSecondLine) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const std::string bytes = "first\nsecond\n";
  ASSERT_EQ(::write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  ::close(ends[1]);

  std::string record;
  {
    RecordSource first = RecordSource::forConsole(ends[0]);
    ASSERT_EQ(first.next(record), RecordStatus::record);
    EXPECT_EQ(record, "first");
  }
  RecordSource second = RecordSource::forConsole(ends[0]);
  ASSERT_EQ(second.next(record), RecordStatus::record);
  EXPECT_EQ(record, "second");
  EXPECT_EQ(second.next(record), RecordStatus::endOfInput);  // the writer has gone
  ::close(ends[0]);
}

TEST(ConsoleRecords, ANonBlockingPipeIsWaitedOnNotRefused) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ASSERT_EQ(::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK), 0);
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(::write(ends[1], "7\n", 2), 2);
    ::close(ends[1]);
  });
  RecordSource source = RecordSource::forConsole(ends[0]);
  std::string record;
  EXPECT_EQ(source.next(record), RecordStatus::record);
  EXPECT_EQ(record, "7");
  writer.join();
  ::close(ends[0]);
}

TEST(ConsoleRecords, ARefusedReadKeepsTheSystemError) {
  const int fd = ::open("/", O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  for (const bool console : {false, true}) {
    RecordSource source = console ? RecordSource::forConsole(fd) : RecordSource::forFile(fd);
    std::string record;
    EXPECT_EQ(source.next(record), RecordStatus::readError);
    EXPECT_EQ(source.systemError(), EISDIR);
  }
  ::close(fd);
}

// The program is one of several readers of a here-document: whatever it
// leaves of its answers is there for the next command.
TEST(ConsoleRecords, TheProgramLeavesTheLinesAfterItsAnswers) {
  corrsum::testing::TempDir dir;
  dir.write("s.tms", "0\n0.5\n1\n");
  corrsum::testing::ProgramOptions options;
  options.executable = "/bin/sh";
  options.arguments = {"-c", "\"$0\" && cat", corrsum::testing::corrsumExecutable()};
  const corrsum::testing::ProgramResult result =
      corrsum::testing::runCorrsum("s.tms\n3\n1\n0\n0\nfor the next reader\n", dir.path(), options);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  const std::string tail = "  ****START CALCULATIONS *****\r\nfor the next reader\n";
  ASSERT_GE(result.out.size(), tail.size());
  EXPECT_EQ(result.out.substr(result.out.size() - tail.size()), tail);
}

}  // namespace
}  // namespace corrsum

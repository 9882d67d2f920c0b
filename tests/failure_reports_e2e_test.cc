// Every failure report that can be provoked from outside the program: the
// exact report line, the system-error line where one belongs, the exit
// status, the traceback block's layout and what is left on disk.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "tests/program_run.h"

namespace corrsum::testing {
namespace {

constexpr const char* kNamePrompt = "  Enter INPUT FileName (----.TMS)\r\n";
constexpr const char* kCountPrompt = "  Enter the number of points in the INPUT File\r\n";
constexpr const char* kTimePrompt = "  Enter the Decorrelation Time T=?\r\n";
constexpr const char* kRangePrompt =
    "  Extend the dynamic range (1-YES 0-NO) ?\r\n"
    "  1-YES is recommended for very small numbers\r\n";
constexpr const char* kJobCountPrompt = "  Enter the NUMBER of Embed.-Dimens. to be used\r\n";
constexpr const char* kDimensionPrompt = "  Enter the            1-th Embeding dimension ?\r\n";
constexpr const char* kOutputPrompt = "  Enter the            1-th OUTPUT FileName (----.dat)\r\n";

constexpr const char* kSeries = "0\n0.5\n1\n";

std::string report(int number, int unit, const std::string& file, const char* text) {
  return "corrsum: severe (" + std::to_string(number) + "): " + text + ", unit " + std::to_string(unit) + ", file " +
         file + "\r\n";
}

// The error stream of a severe end: `lines` (the optional system-error line
// and the report line), then the traceback block of the program's own image.
void expectSevereEnd(const ProgramResult& result, const std::string& lines, int number) {
  EXPECT_EQ(result.signal, 0);
  EXPECT_EQ(result.exitStatus, number) << "low eight bits of 3221225472 + " << number;
  ASSERT_EQ(result.err.substr(0, lines.size()), lines) << result.err;
  EXPECT_EQ(tracebackBlockFault(std::string_view(result.err).substr(lines.size()), "corrsum"), "");
}

// A curve written without any failure, to compare with what a failed run
// left behind.
std::string completeCurve(std::string_view input) {
  TempDir dir;
  dir.write("s.tms", kSeries);
  runCorrsum(input, dir.path());
  return readFile(dir / "c1.dat");
}

TEST(SeriesFileConnection, MissingFileOrDirectoryOrEmptyName) {
  struct Case {
    const char* answer;
    const char* name;
  };
  const Case cases[] = {{"missing.tms\n", "missing.tms"}, {"  nodir/s.tms  \n", "nodir/s.tms"}, {"\n", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.answer)));
    TempDir dir;
    const ProgramResult result = runCorrsum(c.answer, dir.path());
    const std::string file = c.name != nullptr ? fullPathIn(dir, c.name) : "";
    expectSevereEnd(result, report(29, 7, file, "file not found"), 29);
    EXPECT_EQ(result.out, kNamePrompt) << "no second prompt";
  }
}

TEST(SeriesFileConnection, RefusalsOfTheSystem) {
  TempDir dir;
  dir.write("s.tms", kSeries);
  std::filesystem::create_directory(dir / "adir");
  std::filesystem::create_symlink("loop", dir / "loop");
  std::filesystem::create_symlink(corrsumExecutable(), dir / "running");
  {
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (dir / "sock").string();
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(socketFd);
  }
  struct Case {
    std::string name;
    int number;
    const char* text;
    const char* systemLine;
  };
  const Case cases[] = {
      {"sock", 42, "no such device", ""},
      // A 0 byte inside a name would cut it short at the system call.
      {std::string("a\0b.tms", 7), 43, "file name specification error", ""},
      {"loop", 43, "file name specification error", ""},
      {"adir", 30, "open failure", "corrsum: Is a directory\r\n"},
      {"running", 30, "open failure", "corrsum: Text file busy\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.name));
    const ProgramResult result = runCorrsum(c.name + "\n", dir.path());
    expectSevereEnd(result, c.systemLine + report(c.number, 7, fullPathIn(dir, c.name), c.text), c.number);
    EXPECT_EQ(result.out, kNamePrompt);
  }
}

TEST(SeriesFileConnection, AccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may read any file";
  TempDir dir;
  dir.write("s.tms", kSeries);
  std::filesystem::permissions(dir / "s.tms", std::filesystem::perms::none);
  const ProgramResult result = runCorrsum("s.tms\n", dir.path());
  expectSevereEnd(result, report(9, 7, fullPathIn(dir, "s.tms"), "permission to access file denied"), 9);
}

TEST(SeriesFileConnection, TooManyOpenFiles) {
  TempDir dir;
  dir.write("s.tms", kSeries);
  ProgramOptions options;
  options.keepInputOpen = true;
  RunningProgram program("", dir.path(), options);
  ASSERT_TRUE(program.waitForOutput(kNamePrompt));
  // Standard input, output and error take the only descriptors left.
  const rlimit limit{3, 3};
  ASSERT_EQ(::prlimit(program.pid(), RLIMIT_NOFILE, &limit, nullptr), 0);
  program.sendInput("s.tms\n");
  const ProgramResult result = program.finish();
  expectSevereEnd(result, report(30, 7, fullPathIn(dir, "s.tms"), "open failure"), 30);
}

TEST(SeriesFileRead, RefusedReadCarriesTheSystemText) {
  // Reading a process's own memory image at address 0 fails with EIO.
  TempDir dir;
  if (::access("/proc/self/mem", R_OK | W_OK) != 0) GTEST_SKIP() << "no /proc";
  const ProgramResult result = runCorrsum("/proc/self/mem\n3\n1\n0\n1\n1\nc1.dat\n", dir.path());
  expectSevereEnd(result, "corrsum: Input/output error\r\n" + report(39, 7, "/proc/self/mem", "error during read"), 39);
}

struct BadValue {
  const char* text;
  int number;
};

void expectSeriesValueRefused(const BadValue& c) {
  SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
  TempDir dir;
  dir.write("s.tms", "1\n" + std::string(c.text) + "\n2\n");
  const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n1\n1\nc1.dat\n", dir.path());
  const char* text = c.number == 59 ? "list-directed I/O syntax error" : "input conversion error";
  expectSevereEnd(result, report(c.number, 7, fullPathIn(dir, "s.tms"), text), c.number);
  EXPECT_EQ(result.out.find("START CALCULATIONS"), std::string::npos);
}

TEST(SeriesFileRead, MalformedValues) {
  // A carriage return that does not end the line is part of the value.
  for (const BadValue& c : {BadValue{"abc", 59}, BadValue{"1.2.3", 59}, BadValue{"1\r2", 59}})
    expectSeriesValueRefused(c);
}

TEST(SeriesFileRead, UnconvertibleValues) {
  for (const BadValue& c : {BadValue{"1.0e39", 64}, BadValue{"3.4028236e38", 64}, BadValue{"'2'", 64}})
    expectSeriesValueRefused(c);
}

void expectAnswerRefused(const BadValue& c) {
  SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
  TempDir dir;
  dir.write("s.tms", kSeries);
  const ProgramResult result = runCorrsum("s.tms\n" + std::string(c.text) + "\n1\n0\n1\n1\nc1.dat\n", dir.path());
  const char* text = c.number == 59 ? "list-directed I/O syntax error" : "input conversion error";
  expectSevereEnd(result, report(c.number, -4, "CONIN$", text), c.number);
  EXPECT_EQ(result.out, std::string(kNamePrompt) + kCountPrompt);
}

TEST(ConsoleAnswers, MalformedNumbers) {
  for (const char* answer : {"abc", "1.2.3", "--1", "E5", "+", ".", "*7"}) expectAnswerRefused({answer, 59});
}

TEST(ConsoleAnswers, UnconvertibleNumbers) {
  for (const char* answer : {"2147483648", "1+2", "'12'"}) expectAnswerRefused({answer, 64});
}

TEST(ConsoleAnswers, EndOfInputAtEveryPrompt) {
  struct Case {
    const char* input;
    std::string prompts;
  };
  const std::string name = kNamePrompt;
  const std::string count = name + kCountPrompt;
  const std::string time = count + kTimePrompt;
  const std::string range = time + kRangePrompt;
  const std::string jobs = range + kJobCountPrompt;
  const std::string dimension = jobs + kDimensionPrompt;
  const Case cases[] = {
      {"", name},
      {"\x1a\n", name},
      {"s.tms\n", count},
      {"s.tms\n\n  \n", count},  // blank lines are passed over, then the end
      {"s.tms\n3\n", time},
      {"s.tms\n3\n1\n", range},
      {"s.tms\n3\n1\n0\n", jobs},
      {"s.tms\n3\n1\n0\n1\n", dimension},
      {"s.tms\n3\n1\n0\n1\n1\n", dimension + kOutputPrompt},
      {"s.tms\n3\n1\n0\n1\n\x1a\n", dimension},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.input)));
    TempDir dir;
    dir.write("s.tms", kSeries);
    const ProgramResult result = runCorrsum(c.input, dir.path());
    expectSevereEnd(result, report(24, -4, "CONIN$", "end-of-file during read"), 24);
    EXPECT_EQ(result.out, c.prompts);
    EXPECT_EQ(readFile(dir / "s.tms"), kSeries);
  }
}

TEST(ConsoleAnswers, RefusedReadOfStandardInput) {
  TempDir dir;
  ProgramOptions options;
  options.stdinPath = dir.path().string();
  const ProgramResult result = runCorrsum("", dir.path(), options);
  expectSevereEnd(result, "corrsum: Is a directory\r\n" + report(39, -4, "CONIN$", "error during read"), 39);
  EXPECT_EQ(result.out, kNamePrompt);
}

TEST(CurveFileConnection, ExistingFileIsLeftUntouched) {
  enum class Existing { plainFile, earlierJob, seriesFile, danglingLink };
  struct Case {
    Existing existing;
    const char* secondName;
  };
  // A file of an earlier job of the same run, the series file itself and a
  // link that leads nowhere all count as existing names.
  const Case cases[] = {{Existing::plainFile, "c2.dat"},
                        {Existing::earlierJob, "c1.dat"},
                        {Existing::seriesFile, "s.tms"},
                        {Existing::danglingLink, "link"}};
  const std::string curve = completeCurve("s.tms\n3\n1\n0\n1\n1\nc1.dat\n");
  ASSERT_EQ(curve.size(), 163u * 32u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.secondName);
    TempDir dir;
    dir.write("s.tms", kSeries);
    if (c.existing == Existing::plainFile) dir.write(c.secondName, "keep\n");
    if (c.existing == Existing::danglingLink) std::filesystem::create_symlink("nowhere", dir / c.secondName);
    const ProgramResult result =
        runCorrsum("s.tms\n3\n1\n0\n2\n1\nc1.dat\n1\n" + std::string(c.secondName) + "\n", dir.path());
    expectSevereEnd(result, report(10, 8, fullPathIn(dir, c.secondName), "cannot overwrite existing file"), 10);
    EXPECT_EQ(readFile(dir / "c1.dat"), curve) << "the first job's file is complete";
    EXPECT_EQ(readFile(dir / "s.tms"), kSeries);
    if (c.existing == Existing::plainFile) {
      EXPECT_EQ(readFile(dir / c.secondName), "keep\n");
    }
    if (c.existing == Existing::danglingLink) {
      EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));
    }
  }
}

TEST(CurveFileConnection, RejectedNames) {
  TempDir dir;
  dir.write("s.tms", kSeries);
  struct Case {
    std::string name;
    int number;
    const char* text;
  };
  const Case cases[] = {
      {"nodir/c1.dat", 29, "file not found"},
      {std::string("c\0.dat", 6), 43, "file name specification error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.name));
    const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n1\n1\n" + c.name + "\n", dir.path());
    expectSevereEnd(result, report(c.number, 8, fullPathIn(dir, c.name), c.text), c.number);
    EXPECT_FALSE(std::filesystem::exists(dir / c.name));
  }
}

// Marks a directory immutable for its lifetime, which even the superuser
// cannot create files in; cleared again so that the directory can go.
class ImmutableDirectory {
 public:
  explicit ImmutableDirectory(const std::filesystem::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_DIRECTORY)) {
    int flags = 0;
    set_ = fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0 &&
           (flags |= FS_IMMUTABLE_FL, ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0);
  }
  ~ImmutableDirectory() {
    int flags = 0;
    if (set_ && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
      flags &= ~FS_IMMUTABLE_FL;
      ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
    }
    if (fd_ >= 0) ::close(fd_);
  }
  bool isSet() const { return set_; }

 private:
  int fd_;
  bool set_ = false;
};

TEST(CurveFileConnection, AccessDenied) {
  TempDir dir;
  dir.write("s.tms", kSeries);
  std::filesystem::create_directory(dir / "locked");
  std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  std::optional<ImmutableDirectory> immutable;
  if (::geteuid() == 0) {
    immutable.emplace(dir / "locked");
    if (!immutable->isSet()) GTEST_SKIP() << "running as the superuser without immutable directories";
  }
  const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n1\n1\nlocked/c1.dat\n", dir.path());
  expectSevereEnd(result, report(9, 8, fullPathIn(dir, "locked/c1.dat"), "permission to access file denied"), 9);
  EXPECT_FALSE(std::filesystem::exists(dir / "locked" / "c1.dat"));
}

TEST(WriteFailures, StandardOutputRefused) {
  struct Case {
    ProgramOptions options;
    const char* systemLine;
  };
  Case cases[2];
  cases[0].options.stdoutPath = "/dev/full";
  cases[0].systemLine = "corrsum: No space left on device\r\n";
  cases[1].options.stdoutReaderGone = true;  // a closed pipe, not a silent death by signal
  cases[1].systemLine = "corrsum: Broken pipe\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.systemLine);
    TempDir dir;
    dir.write("s.tms", kSeries);
    const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n1\n1\nc1.dat\n", dir.path(), c.options);
    expectSevereEnd(result, c.systemLine + report(38, -1, "CONOUT$", "error during write"), 38);
    // The first prompt failed: the series file was never asked for.
    EXPECT_FALSE(std::filesystem::exists(dir / "c1.dat"));
  }
}

TEST(WriteFailures, CurveFileThatCannotGrowKeepsWhatFitted) {
  const std::string input = "s.tms\n3\n1\n0\n1\n1\nc1.dat\n";
  const std::string curve = completeCurve(input);
  for (long long limit : {0LL, 100LL, 4000LL}) {
    SCOPED_TRACE(limit);
    TempDir dir;
    dir.write("s.tms", kSeries);
    ProgramOptions options;
    options.fileSizeLimit = limit;
    const ProgramResult result = runCorrsum(input, dir.path(), options);
    expectSevereEnd(result, "corrsum: File too large\r\n" + report(38, 8, fullPathIn(dir, "c1.dat"), "error during write"),
                    38);
    EXPECT_EQ(readFile(dir / "c1.dat"), curve.substr(0, static_cast<std::size_t>(limit)));
    EXPECT_TRUE(result.out.ends_with("  Rat=   1000000.    \r\n")) << "nothing after the failure";
  }
}

TEST(NormalEnd, SilentAfterTheLastJob) {
  TempDir dir;
  dir.write("s.tms", kSeries);
  const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n2\n1\nc1.dat\n1\nc2.dat\n", dir.path());
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitStatus, 0);
  // Both files complete: the last one is not cut short by the end.
  const std::string curve = completeCurve("s.tms\n3\n1\n0\n1\n1\nc1.dat\n");
  EXPECT_EQ(readFile(dir / "c1.dat"), curve);
  EXPECT_EQ(readFile(dir / "c2.dat"), curve);
  EXPECT_EQ(readFile(dir / "s.tms"), kSeries);
}

}  // namespace
}  // namespace corrsum::testing

// Runs the built corrsum executable as a user would: answers on a pipe, a
// working directory of the test's own, and the three results captured.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corrsum::testing {

/// A fresh directory under the system's temporary directory, removed with
/// everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  /// Writes `bytes` to the file `name` in this directory.
  void write(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);

struct ProgramResult {
  std::string out;
  std::string err;
  int exitStatus = -1;  ///< the process's exit status, or -1 when a signal ended it
  int signal = 0;       ///< the signal that ended it, or 0
};

struct ProgramOptions {
  /// Standard output goes to this file instead of a pipe (e.g. "/dev/full").
  std::string stdoutPath;
  /// Standard output is a pipe whose reading end is already closed.
  bool stdoutReaderGone = false;
  /// Standard input comes from this path (opened for reading) instead of
  /// the pipe that carries `input`, which is then not written.
  std::string stdinPath;
  /// RLIMIT_FSIZE in bytes for the child, with SIGXFSZ ignored, or -1.
  long long fileSizeLimit = -1;
  /// Keep standard input open after `input` is written (for signal tests).
  bool keepInputOpen = false;
  /// Any extra executable to run instead of corrsum (corrsum-report ...).
  std::string executable;
  std::vector<std::string> arguments;
};

/// A started program. Its standard output and error are collected while the
/// test waits for them.
class RunningProgram {
 public:
  RunningProgram(std::string_view input, const std::filesystem::path& workdir, const ProgramOptions& options = {});
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  /// Waits until standard output holds `text`; false after `timeout`.
  bool waitForOutput(std::string_view text, std::chrono::milliseconds timeout = std::chrono::seconds(20));
  void sendSignal(int signal) const;
  /// Writes more answers to standard input (kept open by keepInputOpen).
  void sendInput(std::string_view input) const;
  /// Whether the program has ended within `timeout`, without reading its
  /// output: a program blocked on a full output pipe has not.
  bool endsWithin(std::chrono::milliseconds timeout) const;
  /// Closes standard input, waits for the end and returns what it left.
  ProgramResult finish();
  pid_t pid() const { return pid_; }

 private:
  void collect(int timeoutMs);
  pid_t pid_ = -1;
  int inFd_ = -1, outFd_ = -1, errFd_ = -1;
  ProgramResult result_;
};

/// Runs corrsum in `workdir` with `input` on its standard input (then closed)
/// and returns its output, error stream and exit status.
ProgramResult runCorrsum(std::string_view input, const std::filesystem::path& workdir,
                         const ProgramOptions& options = {});

/// The path of the corrsum executable under test.
std::string corrsumExecutable();

/// Runs `body` in a forked child of the test process, with standard output
/// and error captured, and returns what it left; a body that returns exits
/// with status 0. For code that ends the process.
ProgramResult runInChild(const std::function<void()>& body);

/// The full path the program shows for `name` in the directory `dir`.
std::string fullPathIn(const TempDir& dir, std::string_view name);

/// Empty when `block` is a traceback block: the exact header, then 1 to 20
/// frame lines in the fixed column layout, each ended by a line feed alone,
/// the first one in the image `firstImage`; otherwise what is wrong.
std::string tracebackBlockFault(std::string_view block, std::string_view firstImage);

}  // namespace corrsum::testing

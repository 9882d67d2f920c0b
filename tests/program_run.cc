#include "tests/program_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace corrsum::testing {

TempDir::TempDir() {
  std::random_device random;
  for (;;) {
    path_ = std::filesystem::temp_directory_path() / ("corrsum-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void TempDir::write(std::string_view name, std::string_view bytes) const {
  std::ofstream file(path_ / name, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::string corrsumExecutable() { return CORRSUM_EXECUTABLE; }

RunningProgram::RunningProgram(std::string_view input, const std::filesystem::path& workdir,
                               const ProgramOptions& options) {
  int in[2], out[2], err[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe");
  const std::string executable = options.executable.empty() ? corrsumExecutable() : options.executable;
  std::vector<std::string> argumentStore{executable};
  argumentStore.insert(argumentStore.end(), options.arguments.begin(), options.arguments.end());
  std::vector<char*> argv;
  for (auto& a : argumentStore) argv.push_back(a.data());
  argv.push_back(nullptr);

  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    if (options.stdinPath.empty()) {
      ::dup2(in[0], STDIN_FILENO);
    } else {
      int fd = ::open(options.stdinPath.c_str(), O_RDONLY);
      ::dup2(fd, STDIN_FILENO);
    }
    if (options.stdoutReaderGone) {
      int gone[2];
      if (::pipe(gone) != 0) ::_exit(126);
      ::close(gone[0]);
      ::dup2(gone[1], STDOUT_FILENO);
    } else if (options.stdoutPath.empty()) {
      ::dup2(out[1], STDOUT_FILENO);
    } else {
      int fd = ::open(options.stdoutPath.c_str(), O_WRONLY);
      ::dup2(fd, STDOUT_FILENO);
    }
    ::dup2(err[1], STDERR_FILENO);
    if (::chdir(workdir.c_str()) != 0) ::_exit(126);
    // The test binary may have signals blocked or ignored; the program
    // starts as it would from a shell.
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int s : {SIGINT, SIGQUIT, SIGHUP, SIGPIPE, SIGXFSZ}) ::signal(s, SIG_DFL);
    if (options.fileSizeLimit >= 0) {
      ::signal(SIGXFSZ, SIG_IGN);
      rlimit limit{static_cast<rlim_t>(options.fileSizeLimit), static_cast<rlim_t>(options.fileSizeLimit)};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::execv(executable.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  inFd_ = in[1];
  outFd_ = out[0];
  errFd_ = err[0];
  // A program that stops reading early must not make the test fail on SIGPIPE.
  ::signal(SIGPIPE, SIG_IGN);
  std::string_view rest = options.stdinPath.empty() ? input : std::string_view();
  while (!rest.empty()) {
    ssize_t written = ::write(inFd_, rest.data(), rest.size());
    if (written <= 0) break;  // the program has gone: it read what it wanted
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  if (!options.keepInputOpen) {
    ::close(inFd_);
    inFd_ = -1;
  }
}

RunningProgram::~RunningProgram() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  for (int fd : {inFd_, outFd_, errFd_})
    if (fd >= 0) ::close(fd);
}

void RunningProgram::collect(int timeoutMs) {
  pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
  if (::poll(fds, 2, timeoutMs) <= 0) return;
  char buffer[65536];
  for (int i = 0; i < 2; ++i) {
    if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
    if (got > 0) {
      (i == 0 ? result_.out : result_.err).append(buffer, static_cast<std::size_t>(got));
    } else {
      ::close(fds[i].fd);
      (i == 0 ? outFd_ : errFd_) = -1;
    }
  }
}

bool RunningProgram::waitForOutput(std::string_view text, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (result_.out.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline || outFd_ < 0) return false;
    collect(50);
  }
  return true;
}

void RunningProgram::sendSignal(int signal) const { ::kill(pid_, signal); }

void RunningProgram::sendInput(std::string_view input) const {
  while (!input.empty() && inFd_ >= 0) {
    const ssize_t written = ::write(inFd_, input.data(), input.size());
    if (written <= 0) return;
    input.remove_prefix(static_cast<std::size_t>(written));
  }
}

bool RunningProgram::endsWithin(std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    siginfo_t info{};
    // WNOWAIT leaves the ended child to finish(), which collects it.
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid_)
      return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    ::usleep(10000);
  }
}

ProgramResult RunningProgram::finish() {
  if (inFd_ >= 0) {
    ::close(inFd_);
    inFd_ = -1;
  }
  while (outFd_ >= 0 || errFd_ >= 0) {
    collect(1000);
  }
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  if (WIFEXITED(status)) result_.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result_.signal = WTERMSIG(status);
  return result_;
}

ProgramResult runCorrsum(std::string_view input, const std::filesystem::path& workdir,
                         const ProgramOptions& options) {
  RunningProgram program(input, workdir, options);
  return program.finish();
}

ProgramResult runInChild(const std::function<void()>& body) {
  int out[2], err[2];
  if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    body();
    ::_exit(0);
  }
  ::close(out[1]);
  ::close(err[1]);
  ProgramResult result;
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  int open = 2;
  char buffer[65536];
  while (open > 0) {
    if (::poll(fds, 2, 20000) <= 0) {
      ::kill(pid, SIGKILL);  // a hung child shows as killed, not as a hung test
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(got));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (const pollfd& fd : fds)
    if (fd.fd >= 0) ::close(fd.fd);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

std::string fullPathIn(const TempDir& dir, std::string_view name) {
  // The program resolves names against the working directory as the system
  // reports it, with every link in it resolved.
  return (std::filesystem::canonical(dir.path()) / name).string();
}

std::string tracebackBlockFault(std::string_view block, std::string_view firstImage) {
  constexpr std::string_view kHeader =
      "Image              PC        Routine            Line        Source             \n";
  if (block.substr(0, kHeader.size()) != kHeader) return "header differs: " + std::string(block.substr(0, 80));
  block.remove_prefix(kHeader.size());
  // Image name in 17 columns, no directory; address in 8 upper-case hex
  // digits; "Unknown" in 17 columns, right-aligned in 10, then plain.
  static const std::regex frameLine("([^ /\r\n][^/\r\n]{16})  [0-9A-F]{8}  Unknown {10}     Unknown  Unknown");
  int lines = 0;
  while (!block.empty()) {
    const std::size_t end = block.find('\n');
    if (end == std::string_view::npos) return "frame line without a line feed";
    const std::string line(block.substr(0, end));
    std::smatch match;
    if (!std::regex_match(line, match, frameLine)) return "frame line " + std::to_string(lines + 1) + " malformed: '" + line + "'";
    if (lines == 0) {
      std::string image = match[1];
      image.erase(image.find_last_not_of(' ') + 1);
      if (image != firstImage) return "first frame in " + image + ", not in " + std::string(firstImage);
    }
    ++lines;
    block.remove_prefix(end + 1);
  }
  if (lines < 1 || lines > 20) return std::to_string(lines) + " frame lines";
  return {};
}

}  // namespace corrsum::testing

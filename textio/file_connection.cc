#include "textio/file_connection.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

#include "failure/run_end.h"
#include "failure/run_failure.h"

namespace corrsum {
namespace {

[[noreturn]] void failConnection(FailureCode code, std::int32_t unit, const std::string& name, int systemError = 0) {
  endRun(RunFailure{code, unit, name, systemError});
}

// The platform's refusal of an open, as the failure the report names. Only
// the refusals without a number of their own carry the system's text.
[[noreturn]] void failOpen(int error, std::int32_t unit, const std::string& name) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: failConnection(failures::fileNotFound, unit, name);
    case EEXIST: failConnection(failures::cannotOverwrite, unit, name);
    case EACCES:
    case EPERM:
    case EROFS: failConnection(failures::permissionDenied, unit, name);
    case ENXIO:
    case ENODEV: failConnection(failures::noSuchDevice, unit, name);
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
    case EILSEQ: failConnection(failures::fileNameSpecification, unit, name);
    case EMFILE:
    case ENFILE: failConnection(failures::openFailure, unit, name);
    default: failConnection(failures::openFailure, unit, name, error);
  }
}

bool refusedForAccess(int error) { return error == EACCES || error == EPERM || error == EROFS; }

int openRetrying(const std::string& path, int flags, mode_t mode = 0) {
  int fd;
  do fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  while (fd < 0 && errno == EINTR);
  return fd;
}

// Checks what open() itself cannot: an empty name names nothing, and a name
// with a 0 byte inside would be cut short silently by the system call.
void checkName(const std::string& path, std::int32_t unit) {
  if (path.empty()) failConnection(failures::fileNotFound, unit, path);
  if (path.find('\0') != std::string::npos) failConnection(failures::fileNameSpecification, unit, path);
}

}  // namespace

std::string fullPathOf(const std::string& fileName) {
  if (fileName.empty()) return fileName;
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(fileName, error);
  if (error) return fileName;
  std::string normal = full.lexically_normal().string();
  // A trailing separator left by normalising "dir/." or "dir/.." names the
  // same directory; keep the root alone.
  if (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  if (normal.size() > kFullPathLimit) return fileName;
  return normal;
}

FileConnection::FileConnection(FileConnection&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), unitNumber_(other.unitNumber_), name_(std::move(other.name_)) {}

FileConnection::~FileConnection() {
  if (fd_ > STDERR_FILENO) ::close(fd_);
}

void FileConnection::putRecord(std::string_view record) {
  OutputGateHold hold;
  while (!record.empty()) {
    const ssize_t written = ::write(fd_, record.data(), record.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      failConnection(failures::errorDuringWrite, unitNumber_, name_, errno);
    }
    record.remove_prefix(static_cast<std::size_t>(written));
  }
}

FileConnection& consoleOutput() {
  static FileConnection console(STDOUT_FILENO, kConsoleOutputUnit, std::string(kConsoleOutputName));
  return console;
}

FileConnection openExisting(const NameField& field) {
  const std::string path = fullPathOf(fileNameOf(field));
  checkName(path, kSeriesUnit);
  int fd = openRetrying(path, O_RDWR);
  if (fd < 0 && refusedForAccess(errno)) fd = openRetrying(path, O_RDONLY);
  if (fd < 0) failOpen(errno, kSeriesUnit, path);
  return FileConnection(fd, kSeriesUnit, path);
}

FileConnection createNew(const NameField& field) {
  const std::string path = fullPathOf(fileNameOf(field));
  checkName(path, kCurveUnit);
  constexpr mode_t kMode = 0666;  // the umask decides, as for any new file
  int fd = openRetrying(path, O_RDWR | O_CREAT | O_EXCL, kMode);
  if (fd < 0 && refusedForAccess(errno)) {
    const int firstError = errno;
    fd = openRetrying(path, O_RDONLY | O_CREAT | O_EXCL, kMode);
    if (fd < 0 && errno != EEXIST) errno = firstError;
  }
  if (fd < 0) failOpen(errno, kCurveUnit, path);
  return FileConnection(fd, kCurveUnit, path);
}

void close(FileConnection& connection) {
  const int fd = std::exchange(connection.fd_, -1);
  if (fd < 0) return;
  if (::close(fd) != 0 && errno != EINTR)
    failConnection(failures::closeError, connection.unitNumber_, connection.name_, errno);
}

}  // namespace corrsum

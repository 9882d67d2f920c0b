// File connections: the series file, the curve files and the console
// output, each with the unit number and name that failure reports show.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "textio/list_writer.h"
#include "textio/name_field.h"

namespace corrsum {

inline constexpr std::int32_t kSeriesUnit = 7;
inline constexpr std::int32_t kCurveUnit = 8;
inline constexpr std::int32_t kConsoleInputUnit = -4;
inline constexpr std::int32_t kConsoleOutputUnit = -1;
inline constexpr std::string_view kConsoleInputName = "CONIN$";
inline constexpr std::string_view kConsoleOutputName = "CONOUT$";

/// Paths longer than this are used as given rather than resolved.
inline constexpr std::size_t kFullPathLimit = 256;

/// The full path a file name is connected under: made absolute against the
/// working directory and normalised lexically ("." and ".." resolved,
/// doubled slashes merged, no links followed). An empty name, or one whose
/// full path would exceed 256 bytes, is returned unchanged.
std::string fullPathOf(const std::string& fileName);

/// One connected unit. Records written to it go to the system at once; a
/// refused write ends the run with failure 38 naming the unit.
class FileConnection : public RecordSink {
 public:
  FileConnection(int fd, std::int32_t unitNumber, std::string name)
      : fd_(fd), unitNumber_(unitNumber), name_(std::move(name)) {}
  FileConnection(FileConnection&& other) noexcept;
  FileConnection& operator=(FileConnection&&) = delete;
  ~FileConnection() override;

  int fd() const { return fd_; }
  std::int32_t unitNumber() const { return unitNumber_; }
  const std::string& name() const { return name_; }

  void putRecord(std::string_view record) override;

 private:
  friend void close(FileConnection& connection);
  int fd_;
  std::int32_t unitNumber_;
  std::string name_;
};

/// The console output, unit -1 "CONOUT$", on standard output.
FileConnection& consoleOutput();

/// Connects the series file (unit 7): opened for reading and writing, or
/// for reading only when that is refused for access. Every refusal ends the
/// run: a missing file or directory and an empty name with 29, access with
/// 9, a missing device with 42, a malformed or too long name with 43, too
/// many open files with 30, any other refusal with 30 and the system's text.
FileConnection openExisting(const NameField& field);

/// Creates a curve file (unit 8) only if no file of that name exists; an
/// existing file ends the run with 10 and is left untouched. Other refusals
/// as for openExisting.
FileConnection createNew(const NameField& field);

/// Releases the connection; the file stays on disk. A refused close ends
/// the run with 28 and the system's text.
void close(FileConnection& connection);

}  // namespace corrsum

// RecordSource: cuts the bytes of standard input or of a file into records.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace corrsum {

enum class RecordStatus {
  record,      ///< a record was taken
  endOfInput,  ///< the input is exhausted, or the record was exactly 0x1A
  readError,   ///< the system refused the read; the error number is kept
  tooLong,     ///< the record buffer could not be enlarged
};

/// A record is the bytes up to, not including, the next line feed; one
/// carriage return right before that line feed is dropped as well, any other
/// carriage return stays. A last line without a line feed is still a record;
/// a record that is exactly the byte 0x1A means end of input, and every
/// later call gives end of input as well. A record may be empty and has no
/// length limit: the buffer grows until memory runs out, which gives
/// tooLong instead of an exception.
///
///   "1\r\n\r2\r\r\n\n3" -> "1", "\r2\r", "", "3", then endOfInput.
class RecordSource {
 public:
  /// Standard input or another descriptor the program does not own. A
  /// terminal is read in blocks; a file or a pipe one byte at a time, so that
  /// nothing beyond the current line is taken from it.
  static RecordSource forConsole(int fd);
  /// A file: read in blocks.
  static RecordSource forFile(int fd);
  /// Bytes held in memory, for tests.
  static RecordSource fromText(std::string text);

  RecordSource(RecordSource&&) noexcept;
  RecordSource& operator=(RecordSource&&) noexcept;
  ~RecordSource();

  /// Takes the next record into `record`; for anything but
  /// RecordStatus::record, `record` holds nothing of use. A read interrupted
  /// by a signal is retried; a non-blocking descriptor is waited on.
  RecordStatus next(std::string& record);
  /// The errno of the last readError.
  int systemError() const { return systemError_; }

 private:
  struct Input;
  explicit RecordSource(std::unique_ptr<Input> input);
  bool fill();

  std::unique_ptr<Input> input_;
  std::string buffer_;
  std::size_t position_ = 0;  // start of the next record in buffer_
  std::size_t scanned_ = 0;   // buffer_ holds no line feed in [position_, scanned_)
  bool ended_ = false;        // the input has nothing more to give
  bool marked_ = false;       // a 0x1A record was met
  int systemError_ = 0;
};

}  // namespace corrsum

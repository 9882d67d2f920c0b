#include "textio/record_source.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace corrsum {

struct RecordSource::Input {
  int fd = -1;
  std::size_t chunk = 1;
  bool fromMemory = false;
};

namespace {

constexpr std::size_t kBlockSize = 65536;
constexpr char kEndOfInputMark = '\x1a';

}  // namespace

RecordSource::RecordSource(std::unique_ptr<Input> input) : input_(std::move(input)) {}
RecordSource::RecordSource(RecordSource&&) noexcept = default;
RecordSource& RecordSource::operator=(RecordSource&&) noexcept = default;
RecordSource::~RecordSource() = default;

RecordSource RecordSource::forConsole(int fd) {
  auto input = std::make_unique<Input>();
  input->fd = fd;
  // A terminal hands over at most one line per read anyway. A file or a
  // pipe on standard input may be shared with whoever comes after this
  // program (a here-document feeding several commands), so not one byte
  // past the current line may be taken from it.
  input->chunk = ::isatty(fd) ? kBlockSize : 1;
  return RecordSource(std::move(input));
}

RecordSource RecordSource::forFile(int fd) {
  auto input = std::make_unique<Input>();
  input->fd = fd;
  input->chunk = kBlockSize;
  return RecordSource(std::move(input));
}

RecordSource RecordSource::fromText(std::string text) {
  auto input = std::make_unique<Input>();
  input->fromMemory = true;
  RecordSource source(std::move(input));
  source.buffer_ = std::move(text);
  source.ended_ = true;
  return source;
}

bool RecordSource::fill() {
  if (ended_) return false;
  if (position_ > 0) {
    buffer_.erase(0, position_);
    scanned_ -= position_;
    position_ = 0;
  }
  const std::size_t old = buffer_.size();
  buffer_.resize(old + input_->chunk);  // may throw std::bad_alloc: see next()
  ssize_t got;
  for (;;) {
    got = ::read(input_->fd, buffer_.data() + old, input_->chunk);
    if (got >= 0) break;
    const int readError = errno;
    if (readError == EINTR) continue;
    // A descriptor left non-blocking by whoever started us: wait for input
    // instead of reporting a refusal that only means "not yet".
    if (readError == EAGAIN || readError == EWOULDBLOCK) {
      pollfd ready{input_->fd, POLLIN, 0};
      if (::poll(&ready, 1, -1) >= 0 || errno == EINTR) continue;
    }
    systemError_ = readError;
    buffer_.resize(old);
    return false;
  }
  buffer_.resize(old + static_cast<std::size_t>(got));
  if (got == 0) ended_ = true;
  return got > 0;
}

RecordStatus RecordSource::next(std::string& record) {
  if (marked_) return RecordStatus::endOfInput;
  systemError_ = 0;
  bool lineFeedEnded = false;
  try {
    for (;;) {
      const std::size_t lineFeed = buffer_.find('\n', scanned_);
      if (lineFeed != std::string::npos) {
        record.assign(buffer_, position_, lineFeed - position_);
        position_ = scanned_ = lineFeed + 1;
        lineFeedEnded = true;
        break;
      }
      // Only the new bytes are searched after each fill, so a long record
      // read one byte at a time costs linear, not quadratic, time.
      scanned_ = buffer_.size();
      if (!fill()) {
        if (systemError_ != 0) return RecordStatus::readError;
        if (position_ >= buffer_.size()) return RecordStatus::endOfInput;
        record.assign(buffer_, position_, std::string::npos);
        position_ = scanned_ = buffer_.size();
        break;
      }
    }
  } catch (const std::bad_alloc&) {
    // The record cannot be held. Let go of what was gathered so the report
    // can still be written.
    std::string().swap(buffer_);
    std::string().swap(record);
    position_ = scanned_ = 0;
    ended_ = true;
    return RecordStatus::tooLong;
  }
  // Only a carriage return that stood right before a line feed is part of
  // the line end; at the very end of the input it is data.
  if (lineFeedEnded && !record.empty() && record.back() == '\r') record.pop_back();
  if (record.size() == 1 && record.front() == kEndOfInputMark) {
    // The mark ends the input for good: nothing after it is data.
    marked_ = true;
    return RecordStatus::endOfInput;
  }
  return RecordStatus::record;
}

}  // namespace corrsum

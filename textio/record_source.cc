#include "textio/record_source.h"

#include <unistd.h>

#include <cerrno>

namespace corrsum {

struct RecordSource::Input {
  int fd = -1;
  std::size_t chunk = 1;
  std::string text;  // for fromText
  bool fromMemory = false;
};

RecordSource::RecordSource(std::unique_ptr<Input> input) : input_(std::move(input)) {}
RecordSource::RecordSource(RecordSource&&) noexcept = default;
RecordSource& RecordSource::operator=(RecordSource&&) noexcept = default;
RecordSource::~RecordSource() = default;

RecordSource RecordSource::forConsole(int fd) {
  auto input = std::make_unique<Input>();
  input->fd = fd;
  input->chunk = ::isatty(fd) ? 4096 : 1;
  return RecordSource(std::move(input));
}

RecordSource RecordSource::forFile(int fd) {
  auto input = std::make_unique<Input>();
  input->fd = fd;
  input->chunk = 65536;
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
    position_ = 0;
  }
  const std::size_t old = buffer_.size();
  buffer_.resize(old + input_->chunk);
  ssize_t got;
  do got = ::read(input_->fd, buffer_.data() + old, input_->chunk);
  while (got < 0 && errno == EINTR);
  if (got < 0) {
    systemError_ = errno;
    buffer_.resize(old);
    return false;
  }
  buffer_.resize(old + static_cast<std::size_t>(got));
  if (got == 0) ended_ = true;
  return got > 0;
}

RecordStatus RecordSource::next(std::string& record) {
  for (;;) {
    const std::size_t lineFeed = buffer_.find('\n', position_);
    if (lineFeed != std::string::npos) {
      record.assign(buffer_, position_, lineFeed - position_);
      position_ = lineFeed + 1;
      break;
    }
    systemError_ = 0;
    if (!fill()) {
      if (systemError_ != 0) return RecordStatus::readError;
      if (position_ >= buffer_.size()) return RecordStatus::endOfInput;
      record.assign(buffer_, position_, std::string::npos);
      position_ = buffer_.size();
      break;
    }
  }
  if (!record.empty() && record.back() == '\r') record.pop_back();
  if (record == "\x1a") return RecordStatus::endOfInput;
  return RecordStatus::record;
}

}  // namespace corrsum

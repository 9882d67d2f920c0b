// Placeholder reader: takes plain decimal values only.
#include "textio/list_reader.h"

#include <cstdlib>

#include "failure/run_failure.h"

namespace corrsum {
namespace {

ReadResult firstToken(RecordSource& source, std::string& token) {
  std::string record;
  for (;;) {
    RecordStatus status = source.next(record);
    if (status == RecordStatus::endOfInput) return {ReadStatus::endOfInput};
    if (status == RecordStatus::readError) return {ReadStatus::readError, source.systemError()};
    if (status == RecordStatus::tooLong) return {ReadStatus::recordTooLong};
    std::size_t begin = record.find_first_not_of(" \t");
    if (begin == std::string::npos) continue;
    std::size_t end = record.find_first_of(" \t,/", begin);
    token = record.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    return {ReadStatus::value};
  }
}

}  // namespace

ReadResult ListReader::readIntegerValue(std::int32_t& target) {
  std::string token;
  ReadResult result = firstToken(source_, token);
  if (result.status != ReadStatus::value) return result;
  char* end;
  long value = std::strtol(token.c_str(), &end, 10);
  if (*end != '\0') return {ReadStatus::syntaxError};
  target = static_cast<std::int32_t>(value);
  return result;
}

ReadResult ListReader::readRealValue(float& target) {
  std::string token;
  ReadResult result = firstToken(source_, token);
  if (result.status != ReadStatus::value) return result;
  char* end;
  target = std::strtof(token.c_str(), &end);
  if (*end != '\0') return {ReadStatus::syntaxError};
  return result;
}

void ListReader::fail(const ReadResult& result) const {
  FailureCode code = failures::syntaxError;
  switch (result.status) {
    case ReadStatus::endOfInput: code = failures::endOfFileDuringRead; break;
    case ReadStatus::readError: code = failures::errorDuringRead; break;
    case ReadStatus::conversionError: code = failures::conversionError; break;
    case ReadStatus::recordTooLong: code = failures::recordTooLong; break;
    default: break;
  }
  endRun(RunFailure{code, unitNumber_, unitName_, result.systemError});
}

void ListReader::readInteger(std::int32_t& target) {
  ReadResult result = readIntegerValue(target);
  if (result.status != ReadStatus::value && result.status != ReadStatus::nullValue) fail(result);
}

bool ListReader::readReal(float& target) {
  ReadResult result = readRealValue(target);
  if (result.status == ReadStatus::endOfInput) return false;
  if (result.status != ReadStatus::value && result.status != ReadStatus::nullValue) fail(result);
  return true;
}

}  // namespace corrsum

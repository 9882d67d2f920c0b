#include "textio/list_reader.h"

#include "failure/run_failure.h"

namespace corrsum {
namespace {

// What the first byte of a value made of it, once any repeat count is
// behind: a truth value or a checked number token. Everything else ends the
// read inside readItem.
struct Item {
  bool isTruth = false;
  bool truth = false;
  std::string_view number;  // a valid number token, pointing into the record
};

ReadResult fromRecordStatus(RecordStatus status, const RecordSource& source) {
  switch (status) {
    case RecordStatus::readError: return {ReadStatus::readError, source.systemError()};
    case RecordStatus::tooLong: return {ReadStatus::recordTooLong};
    case RecordStatus::endOfInput:
    case RecordStatus::record: break;
  }
  return {ReadStatus::endOfInput};
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isTruthLetter(char c) { return c == 'T' || c == 't' || c == 'F' || c == 'f'; }

// A quoted string opened at `record[start]`. It may run over any number of
// records; only its length matters, since it can never be a number, so the
// characters are counted and not kept.
ReadResult skipQuotedString(RecordSource& source, std::string& record, std::size_t start) {
  const char quote = record[start];
  std::size_t length = 0;
  std::size_t i = start + 1;
  for (;;) {
    for (; i < record.size(); ++i) {
      if (record[i] != quote) {
        ++length;
        continue;
      }
      if (i + 1 < record.size() && record[i + 1] == quote) {
        ++length;
        ++i;
        continue;
      }
      if (length > kQuotedStringLimit) return {ReadStatus::syntaxError, 0, ReadCause::longQuotedString};
      return {ReadStatus::conversionError, 0, ReadCause::quotedString};
    }
    // Still open: the string goes on in the next record. At the end of the
    // input it never closes, which is the end of input and not a wait.
    const RecordStatus status = source.next(record);
    if (status != RecordStatus::record) return fromRecordStatus(status, source);
    i = 0;
  }
}

// Steps over blanks and blank records to the first byte of a value and
// classifies it. `record` keeps the record that `item.number` points into.
ReadResult readItem(RecordSource& source, std::string& record, Item& item) {
  std::size_t pos = 0;
  for (;;) {
    const RecordStatus status = source.next(record);
    if (status != RecordStatus::record) return fromRecordStatus(status, source);
    pos = 0;
    while (pos < record.size() && isBlank(record[pos])) ++pos;
    if (pos < record.size()) break;
  }

  // Each pass reads one value; a repeat count sends the loop round once more
  // for the value after its asterisk.
  for (;;) {
    const char first = record[pos];
    if (first == ',' || first == '/') return {ReadStatus::nullValue};
    if (first == '\'' || first == '"') return skipQuotedString(source, record, pos);
    if (first == '(') return {ReadStatus::syntaxError, 0, ReadCause::parenthesis};
    if (isTruthLetter(first) || (first == '.' && pos + 1 < record.size() && isTruthLetter(record[pos + 1]))) {
      item.isTruth = true;
      const char letter = first == '.' ? record[pos + 1] : first;
      item.truth = letter == 'T' || letter == 't';
      return {ReadStatus::value};
    }

    const std::string_view rest = std::string_view(record).substr(pos);
    const std::size_t end = numberTokenEnd(rest);
    const std::string_view token = rest.substr(0, end);
    const bool repeat = end < rest.size() && rest[end] == '*';
    if (repeat && token.empty()) return {ReadStatus::syntaxError, 0, ReadCause::repeatWithoutCount};
    const TokenScan scan = scanNumberToken(token);
    if (scan.syntax != TokenSyntax::valid) {
      return {ReadStatus::syntaxError, 0, ReadCause::numberSyntax, scan.syntax};
    }
    if (!repeat) {
      item.number = token;
      return {ReadStatus::value};
    }
    if (!isIntegerOfIntegerForm(token)) {
      return {ReadStatus::conversionError, 0, ReadCause::repeatCountNotInteger};
    }
    // One read takes one value: the count itself is of no further use.
    pos += end + 1;
    if (pos == record.size() || isBlank(record[pos]) || record[pos] == ',') return {ReadStatus::nullValue};
  }
}

ReadResult conversionFailure(ConversionStatus status) {
  return {ReadStatus::conversionError, 0, ReadCause::numberConversion, TokenSyntax::valid, status};
}

}  // namespace

ReadResult ListReader::readIntegerValue(std::int32_t& target) {
  std::string record;
  Item item;
  const ReadResult result = readItem(source_, record, item);
  if (result.status != ReadStatus::value) return result;
  if (item.isTruth) {
    target = item.truth ? -1 : 0;
    return result;
  }
  const IntegerConversion converted = convertInteger(item.number);
  if (converted.status != ConversionStatus::converted) return conversionFailure(converted.status);
  target = converted.value;
  return result;
}

ReadResult ListReader::readRealValue(float& target) {
  std::string record;
  Item item;
  const ReadResult result = readItem(source_, record, item);
  if (result.status != ReadStatus::value) return result;
  if (item.isTruth) {
    target = item.truth ? -1.0f : 0.0f;
    return result;
  }
  const RealConversion converted = convertReal(item.number);
  if (converted.status != ConversionStatus::converted) return conversionFailure(converted.status);
  target = converted.value;
  return result;
}

void ListReader::fail(const ReadResult& result) const {
  FailureCode code = failures::syntaxError;
  int systemError = 0;
  switch (result.status) {
    case ReadStatus::endOfInput: code = failures::endOfFileDuringRead; break;
    case ReadStatus::readError:
      code = failures::errorDuringRead;
      systemError = result.systemError;
      break;
    case ReadStatus::syntaxError: code = failures::syntaxError; break;
    case ReadStatus::conversionError: code = failures::conversionError; break;
    case ReadStatus::recordTooLong: code = failures::recordTooLong; break;
    case ReadStatus::value:
    case ReadStatus::nullValue: break;  // never a failure; not called for them
  }
  endRun(RunFailure{code, unitNumber_, unitName_, systemError});
}

void ListReader::readInteger(std::int32_t& target) {
  const ReadResult result = readIntegerValue(target);
  if (result.status != ReadStatus::value && result.status != ReadStatus::nullValue) fail(result);
}

bool ListReader::readReal(float& target) {
  const ReadResult result = readRealValue(target);
  if (result.status == ReadStatus::endOfInput) return false;
  if (result.status != ReadStatus::value && result.status != ReadStatus::nullValue) fail(result);
  return true;
}

}  // namespace corrsum

#include "textio/line_reader.h"

#include "failure/run_failure.h"

namespace corrsum {

void LineReader::readLine(NameField& field) {
  std::string record;
  switch (source_.next(record)) {
    case RecordStatus::record: field = NameField::fromLine(record); return;
    case RecordStatus::endOfInput: endRun(RunFailure{failures::endOfFileDuringRead, unitNumber_, unitName_});
    case RecordStatus::readError:
      endRun(RunFailure{failures::errorDuringRead, unitNumber_, unitName_, source_.systemError()});
    case RecordStatus::tooLong: endRun(RunFailure{failures::recordTooLong, unitNumber_, unitName_});
  }
}

}  // namespace corrsum

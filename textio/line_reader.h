// LineReader: a whole line as a 64-byte name field.
#pragma once

#include <cstdint>
#include <string>

#include "textio/name_field.h"
#include "textio/record_source.h"

namespace corrsum {

/// Takes exactly one record, even an empty or blank one, and keeps its first
/// 64 bytes, blank-padded; nothing is interpreted. The end of input ends the
/// run with failure 24, a refused read with 39, naming this reader's unit.
class LineReader {
 public:
  LineReader(RecordSource& source, std::int32_t unitNumber, std::string unitName)
      : source_(source), unitNumber_(unitNumber), unitName_(std::move(unitName)) {}

  void readLine(NameField& field);

 private:
  RecordSource& source_;
  std::int32_t unitNumber_;
  std::string unitName_;
};

}  // namespace corrsum

#include "textio/list_writer.h"

#include <algorithm>

#include "textio/field_format.h"

namespace corrsum {
namespace {

// The record being laid out; it never grows past the line limit.
class Record {
 public:
  explicit Record(RecordSink& sink) : sink_(sink) {}

  bool empty() const { return length_ == 0; }
  int freeColumns() const { return kLineLimit - length_; }
  void append(const char* bytes, int count) {
    std::copy(bytes, bytes + count, buffer_ + length_);
    length_ += count;
  }
  void end() {
    buffer_[length_] = '\r';
    buffer_[length_ + 1] = '\n';
    sink_.putRecord(std::string_view(buffer_, static_cast<std::size_t>(length_) + 2));
    length_ = 0;
  }

 private:
  RecordSink& sink_;
  char buffer_[kLineLimit + 2];
  int length_ = 0;
};

void placeField(Record& record, const char* field, int width) {
  if (record.freeColumns() < width) record.end();
  record.append(field, width);
}

void placeText(Record& record, std::string_view text) {
  if (!record.empty()) {
    if (static_cast<int>(text.size()) <= record.freeColumns()) {
      record.append(text.data(), static_cast<int>(text.size()));
      return;
    }
    record.end();
  }
  // Into an empty record: a blank in column 1, then as much as fits; the
  // rest continues behind a blank of its own in the next record.
  for (;;) {
    record.append(" ", 1);
    const int piece = std::min(static_cast<int>(text.size()), record.freeColumns());
    record.append(text.data(), piece);
    text.remove_prefix(static_cast<std::size_t>(piece));
    if (text.empty()) return;
    record.end();
  }
}

}  // namespace

void ListWriter::writeList(std::span<const ListItem> items) {
  Record record(sink_);
  char field[kRealFieldWidth];
  for (const ListItem& item : items) {
    switch (item.kind) {
      case ListItem::Kind::integer:
        formatIntegerField(item.integer, field);
        placeField(record, field, kIntegerFieldWidth);
        break;
      case ListItem::Kind::real:
        formatRealField(item.real, field);
        placeField(record, field, kRealFieldWidth);
        break;
      case ListItem::Kind::text:
        placeText(record, item.text);
        break;
    }
  }
  if (record.empty()) record.append(" ", 1);
  record.end();
}

void ListWriter::writeSeparator() { sink_.putRecord("\r\n\r\n"); }

}  // namespace corrsum

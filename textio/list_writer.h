// ListWriter: the free-format record writer behind every console line and
// curve row.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace corrsum {

/// A record is at most this many bytes, CR LF not counted.
inline constexpr int kLineLimit = 80;

/// One item of a list: a text (written byte for byte), a signed 32-bit
/// integer (a 12-column field) or a single-precision real (15 columns).
struct ListItem {
  enum class Kind { text, integer, real };

  ListItem(std::string_view t) : kind(Kind::text), text(t) {}
  ListItem(const char* t) : kind(Kind::text), text(t) {}
  ListItem(std::int32_t i) : kind(Kind::integer), integer(i) {}
  ListItem(float r) : kind(Kind::real), real(r) {}

  Kind kind;
  std::string_view text;
  std::int32_t integer = 0;
  float real = 0.0f;
};

/// Where whole records go: each call receives one complete record with its
/// CR LF, to be handed to the operating system at once.
class RecordSink {
 public:
  virtual ~RecordSink() = default;
  virtual void putRecord(std::string_view record) = 0;
};

/// Lays out lists into records. Every list starts a new record and ends its
/// last one; the writer, not the caller, decides all spacing:
///  - a number that does not fit into the columns left ends the record and
///    starts the next one with its own field (no blank is added before it);
///  - a text goes directly behind the previous item when it fits, else it
///    moves whole to a new record; a new record that begins with a text gets
///    a blank in column 1 first, and a text longer than 79 bytes is split
///    across records, each piece behind such a blank.
/// So " Enter the ", 1, "-th Embeding dimension ?" gives the record
/// "  Enter the            1-th Embeding dimension ?" and CR LF.
class ListWriter {
 public:
  explicit ListWriter(RecordSink& sink) : sink_(sink) {}

  void writeList(std::initializer_list<ListItem> items) { writeList(std::span(items.begin(), items.size())); }
  void writeList(std::span<const ListItem> items);

  /// Two empty records: exactly CR LF CR LF.
  void writeSeparator();

 private:
  RecordSink& sink_;
};

/// A sink that keeps the records in memory, for layouts built before they
/// are written and for tests.
class StringSink : public RecordSink {
 public:
  void putRecord(std::string_view record) override { bytes.append(record); }
  std::string bytes;
};

}  // namespace corrsum

// FailureCode layout and the catalog texts of every failure the program can
// reach.
#include "failure/failure_code.h"

#include <gtest/gtest.h>

#include <string>

namespace corrsum {
namespace {

TEST(FailureCode, SeverityInTopBitsNumberInLowBits) {
  EXPECT_EQ(failures::fileNotFound.value(), 3221225501u);
  EXPECT_EQ(failures::fileNotFound.number(), 29);
  EXPECT_EQ(failures::fileNotFound.severity(), Severity::severe);
  EXPECT_EQ(failures::consoleEvent.value(), 0x80000000u + 200u);
  EXPECT_EQ(failures::consoleEvent.severity(), Severity::error);
  EXPECT_EQ((FailureCode{Severity::info, 0xFFFF}.value()), 0x4000FFFFu);
  // The low eight bits, which the platform keeps, are the number.
  EXPECT_EQ(failures::syntaxError.value() & 0xFFu, 59u);
}

struct CatalogEntry {
  FailureCode code;
  std::uint32_t value;
  const char* text;
};

TEST(FailureCatalog, EveryReachableEntryWithItsExactText) {
  const CatalogEntry entries[] = {
      {failures::permissionDenied, 3221225481u, "permission to access file denied, unit %d, file %s\r\n"},
      {failures::cannotOverwrite, 3221225482u, "cannot overwrite existing file, unit %d, file %s\r\n"},
      {failures::recordTooLong, 3221225494u, "input record too long, unit %d, file %s\r\n"},
      {failures::endOfFileDuringRead, 3221225496u, "end-of-file during read, unit %d, file %s\r\n"},
      {failures::closeError, 3221225500u, "CLOSE error, unit %d, file %s\r\n"},
      {failures::fileNotFound, 3221225501u, "file not found, unit %d, file %s\r\n"},
      {failures::openFailure, 3221225502u, "open failure, unit %d, file %s\r\n"},
      {failures::errorDuringWrite, 3221225510u, "error during write, unit %d, file %s\r\n"},
      {failures::errorDuringRead, 3221225511u, "error during read, unit %d, file %s\r\n"},
      {failures::noSuchDevice, 3221225514u, "no such device, unit %d, file %s\r\n"},
      {failures::fileNameSpecification, 3221225515u, "file name specification error, unit %d, file %s\r\n"},
      {failures::syntaxError, 3221225531u, "list-directed I/O syntax error, unit %d, file %s\r\n"},
      {failures::conversionError, 3221225536u, "input conversion error, unit %d, file %s\r\n"},
      {failures::consoleEvent, 2147483848u, "program aborting due to %s event\r\n"},
  };
  for (const CatalogEntry& entry : entries) {
    SCOPED_TRACE(entry.code.number());
    EXPECT_EQ(entry.code.value(), entry.value);
    EXPECT_EQ(catalogText(entry.code), entry.text);
  }
}

TEST(FailureCatalog, OwnRefusalsEndInCrLfWithOnePlaceholder) {
  for (FailureCode code : {failures::decorrelationTimeOutOfRange, failures::dimensionOutOfRange,
                           failures::pointCountOutOfRange, failures::seriesWithoutSpread}) {
    SCOPED_TRACE(code.number());
    const std::string text(catalogText(code));
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_NE(text.find("%d"), std::string::npos);
    EXPECT_EQ(code.severity(), Severity::severe);
  }
}

TEST(FailureCatalog, UnknownNumberHasNoText) { EXPECT_TRUE(catalogText(FailureCode{Severity::severe, 1}).empty()); }

TEST(FailureCatalog, SeverityWords) {
  EXPECT_EQ(severityWord(Severity::info), "info");
  EXPECT_EQ(severityWord(Severity::error), "error");
  EXPECT_EQ(severityWord(Severity::severe), "severe");
}

}  // namespace
}  // namespace corrsum

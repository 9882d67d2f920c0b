// The traceback block: its layout from given frames, and a real walk of the
// calling thread's stack.
#include "failure/traceback_block.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/program_run.h"

namespace corrsum {
namespace {

constexpr std::string_view kHeader =
    "Image              PC        Routine            Line        Source             \n";

TEST(TracebackBlockFormat, HeaderIsSeventyNineColumnsAndLineFeed) {
  const TracebackFrame frame{"corrsum", 0};
  const std::string block = formatTracebackBlock({&frame, 1});
  EXPECT_EQ(block.substr(0, kHeader.size()), kHeader);
  EXPECT_EQ(block.find('\n'), 79u);
  EXPECT_EQ(block.find('\r'), std::string::npos);
}

TEST(TracebackBlockFormat, FrameLinesInColumnLayout) {
  struct Case {
    TracebackFrame frame;
    const char* line;
  };
  const Case cases[] = {
      {{"/usr/lib/x86_64-linux-gnu/libc.so.6", 0x29D90},
       "libc.so.6          00029D90  Unknown               Unknown  Unknown\n"},
      // Cut to 17 columns; a 17-character name fills its field exactly.
      {{"/opt/a/libcorrelation_sum.so", 0xABCDEF}, "libcorrelation_su  00ABCDEF  Unknown               Unknown  Unknown\n"},
      {{"seventeen_chars_x", 0xFFFFFFFF}, "seventeen_chars_x  FFFFFFFF  Unknown               Unknown  Unknown\n"},
      // Only the low 32 bits of an address fit the field.
      {{"corrsum", 0x7F1200000ABCull}, "corrsum            00000ABC  Unknown               Unknown  Unknown\n"},
      // An image that could not be named.
      {{"", 0x1234}, "Unknown            00001234  Unknown               Unknown  Unknown\n"},
      {{"dir/", 0}, "Unknown            00000000  Unknown               Unknown  Unknown\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(formatTracebackBlock({&c.frame, 1}), std::string(kHeader) + c.line);
  }
}

TEST(TracebackBlockFormat, InnermostFirstAndAtMostTwentyFrames) {
  std::vector<TracebackFrame> frames;
  for (std::uint64_t i = 0; i < 25; ++i) frames.push_back({"corrsum", 0x100 + i});
  const std::string block = formatTracebackBlock(frames);
  const std::string first = "corrsum            00000100  Unknown               Unknown  Unknown\n";
  const std::string last = "corrsum            00000113  Unknown               Unknown  Unknown\n";
  EXPECT_EQ(block.size(), kHeader.size() + 20 * first.size());
  EXPECT_EQ(block.substr(kHeader.size(), first.size()), first);
  EXPECT_EQ(block.substr(block.size() - last.size()), last);
}

TEST(TracebackBlockFormat, NoFramesNoBlock) { EXPECT_EQ(formatTracebackBlock({}), ""); }

// Stands for the code that reports a failure: the walk must start in it.
volatile int afterCapture = 0;
[[gnu::noinline]] std::string reportingCode() {
  std::string block = captureTracebackBlock();
  afterCapture = 1;  // keeps the call from becoming a jump that leaves no frame
  return block;
}

std::uint64_t offsetInImage(const void* address) {
  Dl_info info{};
  if (::dladdr(address, &info) == 0) return 0;
  return reinterpret_cast<std::uintptr_t>(address) - reinterpret_cast<std::uintptr_t>(info.dli_fbase);
}

TEST(TracebackBlockCapture, WalksFromTheCallerInItsOwnImage) {
  const std::string block = reportingCode();
  ASSERT_FALSE(block.empty()) << "glibc always has a stack walker";
  EXPECT_EQ(testing::tracebackBlockFault(block, "corrsum_tests"), "");

  // The first frame's address lies a few bytes into reportingCode, not in
  // the walker.
  const std::string firstAddress = block.substr(kHeader.size() + 19, 8);
  const std::uint64_t first = std::stoull(firstAddress, nullptr, 16);
  const std::uint64_t start = offsetInImage(reinterpret_cast<const void*>(&reportingCode)) & 0xFFFFFFFFu;
  EXPECT_GT(first, start);
  EXPECT_LT(first, start + 256);
}

}  // namespace
}  // namespace corrsum

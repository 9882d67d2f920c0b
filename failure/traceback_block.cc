#include "failure/traceback_block.h"

#include <algorithm>
#include <array>

#if __has_include(<execinfo.h>) && __has_include(<dlfcn.h>)
#include <dlfcn.h>
#include <execinfo.h>
#define CORRSUM_HAS_STACK_WALKER 1
#endif

namespace corrsum {
namespace {

constexpr std::string_view kHeader =
    "Image              PC        Routine            Line        Source             \n";
constexpr std::string_view kUnknown = "Unknown";
constexpr std::size_t kImageWidth = 17;
constexpr std::size_t kRoutineWidth = 17;
constexpr std::size_t kLineWidth = 10;

void appendLeft(std::string& line, std::string_view text, std::size_t width) {
  text = text.substr(0, width);
  line += text;
  line.append(width - text.size(), ' ');
}

void appendRight(std::string& line, std::string_view text, std::size_t width) {
  text = text.substr(0, width);
  line.append(width - text.size(), ' ');
  line += text;
}

void appendHex8(std::string& line, std::uint64_t address) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  const auto low = static_cast<std::uint32_t>(address);
  for (int shift = 28; shift >= 0; shift -= 4) line += kDigits[(low >> shift) & 0xFu];
}

std::string_view fileNameOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
  return path.empty() ? kUnknown : path;
}

}  // namespace

std::string formatTracebackBlock(std::span<const TracebackFrame> frames) {
  if (frames.empty()) return {};
  std::string block(kHeader);
  for (const TracebackFrame& frame : frames.first(std::min(frames.size(), kTracebackFrameLimit))) {
    appendLeft(block, fileNameOf(frame.imagePath), kImageWidth);
    block += "  ";
    appendHex8(block, frame.address);
    block += "  ";
    // No routine, line or source information is carried for any frame.
    appendLeft(block, kUnknown, kRoutineWidth);
    block += "  ";
    appendRight(block, kUnknown, kLineWidth);
    block += "  ";
    block += kUnknown;
    block += '\n';
  }
  return block;
}

#ifdef CORRSUM_HAS_STACK_WALKER

// Kept out of line so that frame 0 of the walk is always this function and
// frame 1 its caller, the reporting code.
[[gnu::noinline]] std::string captureTracebackBlock() {
  std::array<void*, kTracebackFrameLimit + 1> pcs{};
  const int walked = ::backtrace(pcs.data(), static_cast<int>(pcs.size()));
  std::array<TracebackFrame, kTracebackFrameLimit> frames{};
  std::size_t count = 0;
  for (int i = 1; i < walked; ++i) {
    const auto pc = reinterpret_cast<std::uintptr_t>(pcs[static_cast<std::size_t>(i)]);
    Dl_info info{};
    TracebackFrame& frame = frames[count++];
    if (::dladdr(pcs[static_cast<std::size_t>(i)], &info) != 0 && info.dli_fname != nullptr) {
      frame.imagePath = info.dli_fname;
      frame.address = pc - reinterpret_cast<std::uintptr_t>(info.dli_fbase);
    } else {
      frame.address = pc;
    }
  }
  return formatTracebackBlock(std::span<const TracebackFrame>(frames.data(), count));
}

void prepareTraceback() {
  void* pc = nullptr;
  ::backtrace(&pc, 1);
}

#else

std::string captureTracebackBlock() { return {}; }
void prepareTraceback() {}

#endif

}  // namespace corrsum

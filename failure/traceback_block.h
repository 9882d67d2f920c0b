// TracebackBlock: the stack listing that follows a severe report and the
// math form.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corrsum {

/// At most this many frames are listed.
inline constexpr std::size_t kTracebackFrameLimit = 20;

/// One active call frame: the image it runs in (any path; only the file
/// name is shown, an empty path reads "Unknown") and its code address as an
/// offset within that image.
struct TracebackFrame {
  std::string_view imagePath;
  std::uint64_t address = 0;
};

/// The block for `frames`, innermost first, or an empty text when there is
/// no frame. Lines end in a line feed alone. The header is the titles
/// "Image", "PC", "Routine", "Line", "Source" padded to 19, 10, 19, 12 and 19
/// columns; each frame line is the image file name in 17 columns (cut to
/// 17), the low 32 bits of the address as 8 upper-case hex digits, "Unknown"
/// in 17 columns, "Unknown" right-aligned in 10 and "Unknown", with two
/// blanks between fields. Only the first 20 frames are listed. The frame
/// {"/usr/lib/libc.so.6", 0x29D90} gives
/// "libc.so.6          00029D90  Unknown               Unknown  Unknown\n".
std::string formatTracebackBlock(std::span<const TracebackFrame> frames);

/// The block for the active frames of the calling thread, starting at the
/// frame of the function that calls this one; an empty text where the
/// platform has no stack walker. Frames are named by the image they run in
/// and placed by their offset within it, which does not move when the
/// image is loaded at another address.
std::string captureTracebackBlock();

/// Makes the stack walker ready for use. The walker may need to load code
/// of its own on first use, which can fail once the run is short of file
/// descriptors or memory, so this is called once at start-up.
void prepareTraceback();

}  // namespace corrsum

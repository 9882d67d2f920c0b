// The 64-byte, blank-padded name field that holds a file name as answered.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace corrsum {

inline constexpr std::size_t kNameFieldLength = 64;

struct NameField {
  std::array<char, kNameFieldLength> bytes;

  /// The first 64 bytes of `line`, blank-padded: no byte is changed.
  static NameField fromLine(std::string_view line);
  std::string_view view() const { return {bytes.data(), bytes.size()}; }
};

/// The file name a field stands for: leading blanks removed, trailing blanks
/// and trailing 0 bytes removed. "  data.txt  " gives "data.txt".
std::string fileNameOf(const NameField& field);

}  // namespace corrsum

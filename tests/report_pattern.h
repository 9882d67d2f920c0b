// Death tests match standard error against a regular expression; this turns
// an exact report text into one that must open standard error. What the
// failure layer may append after the report (a stack listing) is left free.
#pragma once

#include <string>
#include <string_view>

namespace corrsum::testing {

inline std::string startsWithText(std::string_view text) {
  std::string pattern = "^";
  for (char c : text) {
    if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern;
}

}  // namespace corrsum::testing

#include "report/report_arguments.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <set>

namespace corrsum::report {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<int> wholeInt(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<double> wholeReal(std::string_view text) {
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::vector<int>> dimensionList(std::string_view text) {
  std::vector<int> dims;
  std::size_t pos = 0;
  while (true) {
    const std::size_t comma = text.find(',', pos);
    const std::string_view item = text.substr(pos, comma == std::string_view::npos ? text.npos : comma - pos);
    const std::optional<int> d = wholeInt(item);
    if (!d || *d < 1) return std::nullopt;
    dims.push_back(*d);
    if (comma == std::string_view::npos) return dims;
    pos = comma + 1;
  }
}

}  // namespace

std::optional<int> dimensionFromFileName(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  std::size_t end = name.size();
  while (end > 0 && !isDigit(name[end - 1])) --end;
  std::size_t begin = end;
  while (begin > 0 && isDigit(name[begin - 1])) --begin;
  if (begin == end) return std::nullopt;
  const std::string_view digits = name.substr(begin, end - begin);
  if (digits.size() > 7) return std::nullopt;
  const std::optional<int> d = wholeInt(digits);
  if (!d || *d < 1 || *d > 1000000) return std::nullopt;
  return d;
}

ArgumentsResult parseReportArguments(std::span<const std::string> args) {
  ArgumentsResult result;
  ReportArguments a;
  std::optional<std::vector<int>> givenDims;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      a.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help") {
      a.help = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> value;
    const std::size_t eq = arg.find('=');
    if (eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    }
    const bool known = name == "--dims" || name == "--plot" || name == "--window" || name == "--tolerance" ||
                       name == "--min-pairs" || name == "--max-c";
    if (!known) {
      result.error = "unknown option " + name;
      return result;
    }
    if (!value) {
      if (i + 1 >= args.size()) {
        result.error = name + " needs a value";
        return result;
      }
      value = args[++i];
    }
    const auto bad = [&](std::string_view expected) {
      result.error = name + " takes " + std::string(expected) + ", not \"" + *value + "\"";
      return result;
    };
    if (name == "--dims") {
      givenDims = dimensionList(*value);
      if (!givenDims) return bad("a list of embedding dimensions such as 1,2,3");
    } else if (name == "--plot") {
      if (value->empty()) return bad("a file name");
      a.plotPath = *value;
    } else if (name == "--window") {
      const std::optional<int> w = wholeInt(*value);
      if (!w || *w < 3 || *w % 2 == 0) return bad("an odd number of points, at least 3");
      a.analysis.window = *w;
    } else if (name == "--tolerance") {
      const std::optional<double> t = wholeReal(*value);
      if (!t || !(*t > 0.0)) return bad("a positive fraction such as 0.15");
      a.analysis.region.tolerance = *t;
    } else if (name == "--min-pairs") {
      const std::optional<double> p = wholeReal(*value);
      if (!p || *p < 0.0) return bad("a number of pairs, 0 or more");
      a.analysis.region.minPairs = *p;
    } else {
      const std::optional<double> c = wholeReal(*value);
      if (!c || !(*c > 0.0) || *c > 1.0) return bad("a value of C above 0 and at most 1");
      a.analysis.region.maxC = *c;
    }
  }
  if (a.help) {
    result.arguments = std::move(a);
    return result;
  }
  if (a.files.empty()) {
    result.error = "no curve file given";
    return result;
  }
  if (givenDims) {
    if (givenDims->size() != a.files.size()) {
      result.error = "--dims gives " + std::to_string(givenDims->size()) + " dimension" +
                     (givenDims->size() == 1 ? "" : "s") + " for " + std::to_string(a.files.size()) + " file" +
                     (a.files.size() == 1 ? "" : "s");
      return result;
    }
    a.dims = *givenDims;
  } else {
    for (const std::string& file : a.files) {
      const std::optional<int> d = dimensionFromFileName(file);
      if (!d) {
        result.error = "cannot tell the embedding dimension of " + file +
                       ": its name holds no number; give the dimensions with --dims";
        return result;
      }
      a.dims.push_back(*d);
    }
  }
  std::set<int> seen;
  for (std::size_t i = 0; i < a.dims.size(); ++i) {
    if (!seen.insert(a.dims[i]).second) {
      result.error = "embedding dimension " + std::to_string(a.dims[i]) + " is given twice (" + a.files[i] + ")";
      return result;
    }
  }
  result.arguments = std::move(a);
  return result;
}

}  // namespace corrsum::report

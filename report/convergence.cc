#include "report/convergence.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstddef>

namespace corrsum::report {
namespace {

std::string fixed3(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", v);
  return buffer;
}

std::string dimensionList(const std::vector<DimensionResult>& results) {
  std::string out;
  for (std::size_t i = 0; i < results.size(); ++i) {
    if (i > 0) out += i + 1 == results.size() ? " and " : ", ";
    out += std::to_string(results[i].ndim);
  }
  return out;
}

std::string dimensionSpan(const std::vector<DimensionResult>& results) {
  if (results.size() == 2) return "NDIM " + dimensionList(results);
  return "NDIM " + std::to_string(results.front().ndim) + " to " + std::to_string(results.back().ndim);
}

}  // namespace

ConvergenceVerdict judgeConvergence(std::span<const DimensionResult> results) {
  ConvergenceVerdict verdict;
  std::vector<DimensionResult> sorted(results.begin(), results.end());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const DimensionResult& a, const DimensionResult& b) { return a.ndim < b.ndim; });
  const std::size_t take = std::min<std::size_t>(sorted.size(), kConvergenceDimensions);
  verdict.compared.assign(sorted.end() - static_cast<std::ptrdiff_t>(take), sorted.end());
  if (take < 2) {
    verdict.kind = ConvergenceVerdict::Kind::singleDimension;
    return verdict;
  }
  for (const DimensionResult& r : verdict.compared) {
    if (!r.estimate) {
      verdict.kind = ConvergenceVerdict::Kind::missingEstimate;
      return verdict;
    }
  }
  bool agree = true;
  for (std::size_t i = 0; i < take; ++i) {
    for (std::size_t j = i + 1; j < take; ++j) {
      const DimensionResult& a = verdict.compared[i];
      const DimensionResult& b = verdict.compared[j];
      if (!(std::fabs(*a.estimate - *b.estimate) <= a.uncertainty + b.uncertainty)) agree = false;
    }
  }
  if (!agree) {
    verdict.kind = ConvergenceVerdict::Kind::notConverged;
    return verdict;
  }
  verdict.kind = ConvergenceVerdict::Kind::converged;
  double sum = 0.0;
  for (const DimensionResult& r : verdict.compared) {
    sum += *r.estimate;
    verdict.uncertainty = std::max(verdict.uncertainty, r.uncertainty);
  }
  verdict.value = sum / static_cast<double>(take);
  return verdict;
}

std::string convergenceStatement(const ConvergenceVerdict& verdict) {
  using Kind = ConvergenceVerdict::Kind;
  switch (verdict.kind) {
    case Kind::singleDimension:
      return "Convergence cannot be judged from one embedding dimension: give the curve files of several.";
    case Kind::missingEstimate: {
      std::vector<DimensionResult> missing;
      for (const DimensionResult& r : verdict.compared) {
        if (!r.estimate) missing.push_back(r);
      }
      return "Convergence cannot be judged: NDIM " + dimensionList(missing) +
             (missing.size() == 1 ? " has" : " have") + " no scaling region.";
    }
    case Kind::notConverged: {
      std::string values;
      for (std::size_t i = 0; i < verdict.compared.size(); ++i) {
        if (i > 0) values += ", ";
        values += fixed3(*verdict.compared[i].estimate) + " +- " + fixed3(verdict.compared[i].uncertainty);
      }
      return "The estimates do not converge: " + dimensionSpan(verdict.compared) + " give " + values +
             ", which differ by more than their uncertainty.";
    }
    case Kind::converged:
      return "The estimates converge: " + dimensionSpan(verdict.compared) +
             " agree within their uncertainty, D = " + fixed3(verdict.value) + " +- " +
             fixed3(verdict.uncertainty) + ".";
  }
  return {};
}

}  // namespace corrsum::report

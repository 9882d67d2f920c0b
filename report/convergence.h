// Whether the dimension estimates settle as the embedding dimension grows.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corrsum::report {

/// One embedding dimension's estimate with its uncertainty, or nothing when
/// its curve had no scaling region.
struct DimensionResult {
  int ndim = 0;
  std::optional<double> estimate;
  double uncertainty = 0.0;
};

/// The estimates converge when the last three dimensions (both, when there
/// are two) agree pairwise within their uncertainties:
/// |D_i - D_j| <= u_i + u_j.
inline constexpr int kConvergenceDimensions = 3;

struct ConvergenceVerdict {
  enum class Kind {
    converged,        ///< the last dimensions agree; `value` +- `uncertainty`
    notConverged,     ///< the last dimensions disagree
    singleDimension,  ///< one dimension: nothing to compare
    missingEstimate,  ///< one of the last dimensions has no estimate
  };
  Kind kind = Kind::singleDimension;
  /// The compared dimensions, in increasing NDIM.
  std::vector<DimensionResult> compared;
  /// For `converged`: the mean of the compared estimates, and the largest
  /// of their uncertainties.
  double value = 0.0;
  double uncertainty = 0.0;
};

/// Judges `results` (any order; they are compared in increasing NDIM).
/// NDIM 3, 4, 5 at 1.22 +- 0.04, 1.24 +- 0.05, 1.23 +- 0.06 converge to
/// 1.23 +- 0.06; 1.0 +- 0.05 and 2.0 +- 0.1 do not converge.
ConvergenceVerdict judgeConvergence(std::span<const DimensionResult> results);

/// The verdict as one plain sentence, for example
/// "The estimates converge: NDIM 3 to 5 agree within their uncertainty,
/// D = 1.230 +- 0.060."
std::string convergenceStatement(const ConvergenceVerdict& verdict);

}  // namespace corrsum::report

#include "report/svg_plot.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

namespace corrsum::report {
namespace {

constexpr double kWidth = 900.0;
constexpr double kHeight = 940.0;
constexpr double kLeft = 80.0;    // room for the y tick labels and title
constexpr double kRight = 870.0;
constexpr double kTopPanelTop = 50.0;
constexpr double kTopPanelBottom = 420.0;
constexpr double kLowPanelTop = 520.0;
constexpr double kLowPanelBottom = 890.0;

// Colour-blind-safe hues, cycled when there are more dimensions.
constexpr const char* kPalette[] = {"#0072b2", "#d55e00", "#009e73", "#cc79a7",
                                    "#e69f00", "#56b4e9", "#7f3c8d", "#555555"};

const char* colourOf(std::size_t index) { return kPalette[index % (sizeof kPalette / sizeof kPalette[0])]; }

std::string num(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", v);
  return buffer;
}

std::string label(double v, int decimals) {
  char buffer[32];
  // A tick at -0.0 reads as 0.
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v == 0.0 ? 0.0 : v);
  return buffer;
}

struct Range {
  double lo = HUGE_VAL;
  double hi = -HUGE_VAL;
  void take(double v) {
    if (!std::isfinite(v)) return;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  bool empty() const { return !(lo <= hi); }
};

// Widens an empty or zero-width range so the axis has a scale to draw on.
Range padded(Range r, double fallbackLo, double fallbackHi) {
  if (r.empty()) return Range{fallbackLo, fallbackHi};
  if (r.hi - r.lo < 1e-9) return Range{r.lo - 0.5, r.hi + 0.5};
  const double margin = 0.03 * (r.hi - r.lo);
  return Range{r.lo - margin, r.hi + margin};
}

struct Panel {
  double top;
  double bottom;
  Range x;
  Range y;
  double px(double v) const { return kLeft + (v - x.lo) / (x.hi - x.lo) * (kRight - kLeft); }
  double py(double v) const { return bottom - (v - y.lo) / (y.hi - y.lo) * (bottom - top); }
};

void axes(std::string& svg, const Panel& p, const std::string& clipId, const std::string& xTitle,
          const std::string& yTitle) {
  svg += "<clipPath id=\"" + clipId + "\"><rect x=\"" + num(kLeft) + "\" y=\"" + num(p.top) + "\" width=\"" +
         num(kRight - kLeft) + "\" height=\"" + num(p.bottom - p.top) + "\"/></clipPath>\n";
  const AxisTicks xt = niceTicks(p.x.lo, p.x.hi, 8);
  const AxisTicks yt = niceTicks(p.y.lo, p.y.hi, 6);
  svg += "<g stroke=\"#dddddd\" stroke-width=\"1\">\n";
  for (double v : xt.values) {
    svg += "<line x1=\"" + num(p.px(v)) + "\" y1=\"" + num(p.top) + "\" x2=\"" + num(p.px(v)) + "\" y2=\"" +
           num(p.bottom) + "\"/>\n";
  }
  for (double v : yt.values) {
    svg += "<line x1=\"" + num(kLeft) + "\" y1=\"" + num(p.py(v)) + "\" x2=\"" + num(kRight) + "\" y2=\"" +
           num(p.py(v)) + "\"/>\n";
  }
  svg += "</g>\n<g stroke=\"#000000\" stroke-width=\"1\">\n";
  for (double v : xt.values) {
    svg += "<line x1=\"" + num(p.px(v)) + "\" y1=\"" + num(p.bottom) + "\" x2=\"" + num(p.px(v)) + "\" y2=\"" +
           num(p.bottom + 5) + "\"/>\n";
  }
  for (double v : yt.values) {
    svg += "<line x1=\"" + num(kLeft - 5) + "\" y1=\"" + num(p.py(v)) + "\" x2=\"" + num(kLeft) + "\" y2=\"" +
           num(p.py(v)) + "\"/>\n";
  }
  svg += "</g>\n<g fill=\"#000000\">\n";
  for (double v : xt.values) {
    svg += "<text x=\"" + num(p.px(v)) + "\" y=\"" + num(p.bottom + 19) + "\" text-anchor=\"middle\">" +
           label(v, xt.decimals) + "</text>\n";
  }
  for (double v : yt.values) {
    svg += "<text x=\"" + num(kLeft - 8) + "\" y=\"" + num(p.py(v) + 4) + "\" text-anchor=\"end\">" +
           label(v, yt.decimals) + "</text>\n";
  }
  svg += "<text x=\"" + num((kLeft + kRight) / 2) + "\" y=\"" + num(p.bottom + 38) +
         "\" text-anchor=\"middle\">" + xTitle + "</text>\n";
  const double midY = (p.top + p.bottom) / 2;
  svg += "<text x=\"22\" y=\"" + num(midY) + "\" text-anchor=\"middle\" transform=\"rotate(-90 22 " + num(midY) +
         ")\">" + yTitle + "</text>\n</g>\n";
  svg += "<rect x=\"" + num(kLeft) + "\" y=\"" + num(p.top) + "\" width=\"" + num(kRight - kLeft) +
         "\" height=\"" + num(p.bottom - p.top) + "\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1\"/>\n";
}

// One polyline per unbroken run of finite values, so a gap stays a gap.
void lines(std::string& svg, const Panel& p, const std::vector<CurvePoint>& pts, const std::vector<double>* ys,
           std::size_t first, std::size_t last, const std::string& style) {
  std::string run;
  int inRun = 0;
  const auto flush = [&] {
    if (inRun >= 2) svg += "<polyline fill=\"none\" " + style + " points=\"" + run + "\"/>\n";
    run.clear();
    inRun = 0;
  };
  for (std::size_t i = first; i <= last && i < pts.size(); ++i) {
    const double y = ys ? (*ys)[i] : pts[i].lnC;
    if (!std::isfinite(y)) {
      flush();
      continue;
    }
    if (inRun > 0) run += ' ';
    run += num(p.px(pts[i].lnR)) + "," + num(p.py(y));
    ++inRun;
  }
  flush();
}

void legendEntry(std::string& svg, double x, double y, const std::string& stroke, const std::string& text) {
  svg += "<line x1=\"" + num(x) + "\" y1=\"" + num(y) + "\" x2=\"" + num(x + 28) + "\" y2=\"" + num(y) + "\" " +
         stroke + "/>\n<text x=\"" + num(x + 36) + "\" y=\"" + num(y + 4) + "\">" + text + "</text>\n";
}

}  // namespace

AxisTicks niceTicks(double lo, double hi, int target) {
  AxisTicks ticks;
  if (!(hi > lo) || target < 1) return ticks;
  const double raw = (hi - lo) / target;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = 10.0 * power;
  for (double f : {1.0, 2.0, 5.0}) {
    if (f * power >= raw) {
      step = f * power;
      break;
    }
  }
  ticks.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  // Ticks as integer multiples of the step, so -0.3 is -3 x 0.1 and not an
  // accumulated -0.30000000000000004.
  const long long firstK = static_cast<long long>(std::ceil(lo / step - 1e-9));
  const long long lastK = static_cast<long long>(std::floor(hi / step + 1e-9));
  for (long long k = firstK; k <= lastK; ++k) ticks.values.push_back(static_cast<double>(k) * step);
  return ticks;
}

std::string renderPlotSvg(std::span<const PlotCurve> curves, std::optional<double> convergedValue) {
  Range x;
  Range lnC;
  double slopeTop = 0.0;
  double largestSlope = 0.0;
  for (const PlotCurve& c : curves) {
    for (const CurvePoint& p : c.points) {
      x.take(p.lnR);
      lnC.take(p.lnC);
    }
    for (double s : c.slopes) {
      if (std::isfinite(s)) largestSlope = std::max(largestSlope, s);
    }
    if (c.estimate) slopeTop = std::max(slopeTop, c.estimate->dimension);
  }
  if (convergedValue) slopeTop = std::max(slopeTop, *convergedValue);
  // The slopes run wild in the sparse bottom; the estimates set the scale,
  // and what lies far above them is clipped.
  slopeTop = slopeTop > 0.0 ? 1.6 * slopeTop : std::max(1.0, std::min(largestSlope, 10.0));

  Panel upper{kTopPanelTop, kTopPanelBottom, padded(x, -1.0, 0.0), padded(lnC, -1.0, 0.0)};
  Panel lower{kLowPanelTop, kLowPanelBottom, upper.x, Range{0.0, slopeTop}};

  std::string svg;
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(kWidth) + "\" height=\"" + num(kHeight) +
         "\" viewBox=\"0 0 " + num(kWidth) + " " + num(kHeight) +
         "\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\" font-size=\"13\">\n";
  svg += "<title>Correlation integral and local slopes</title>\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  svg += "<text x=\"" + num(kLeft) + "\" y=\"30\" font-size=\"15\">Correlation integral C(r)</text>\n";
  svg += "<text x=\"" + num(kLeft) + "\" y=\"" + num(kLowPanelTop - 20) +
         "\" font-size=\"15\">Local slopes d ln C / d ln r</text>\n";
  axes(svg, upper, "upper", "ln r", "ln C(r)");
  axes(svg, lower, "lower", "ln r", "local slope");

  svg += "<g clip-path=\"url(#upper)\" stroke-linejoin=\"round\">\n";
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const PlotCurve& c = curves[i];
    if (c.points.empty()) continue;
    const std::string colour = "stroke=\"" + std::string(colourOf(i)) + "\"";
    lines(svg, upper, c.points, nullptr, 0, c.points.size() - 1, colour + " stroke-width=\"1.5\"");
    if (c.region) {
      lines(svg, upper, c.points, nullptr, static_cast<std::size_t>(c.region->first),
            static_cast<std::size_t>(c.region->last), colour + " stroke-width=\"4\" stroke-opacity=\"0.45\"");
    }
  }
  svg += "</g>\n<g clip-path=\"url(#lower)\" stroke-linejoin=\"round\">\n";
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const PlotCurve& c = curves[i];
    if (c.points.empty()) continue;
    const std::string colour = "stroke=\"" + std::string(colourOf(i)) + "\"";
    lines(svg, lower, c.points, &c.slopes, 0, c.points.size() - 1, colour + " stroke-width=\"1.2\"");
    if (c.estimate) {
      const double y = lower.py(c.estimate->dimension);
      svg += "<line x1=\"" + num(lower.px(c.estimate->lnRLow)) + "\" y1=\"" + num(y) + "\" x2=\"" +
             num(lower.px(c.estimate->lnRHigh)) + "\" y2=\"" + num(y) + "\" " + colour +
             " stroke-width=\"6\" stroke-opacity=\"0.45\" stroke-linecap=\"butt\"/>\n";
    }
  }
  if (convergedValue) {
    const double y = lower.py(*convergedValue);
    svg += "<line x1=\"" + num(kLeft) + "\" y1=\"" + num(y) + "\" x2=\"" + num(kRight) + "\" y2=\"" + num(y) +
           "\" stroke=\"#000000\" stroke-width=\"1.2\" stroke-dasharray=\"6 4\"/>\n";
  }
  svg += "</g>\n";

  // Legends in the upper-left corners: ln C rises to the right, and the
  // slopes stay near the estimates on the left while on the right they
  // swing as C saturates.
  svg += "<g font-size=\"13\" fill=\"#000000\">\n";
  double ly = kTopPanelTop + 20;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    legendEntry(svg, kLeft + 14, ly, "stroke=\"" + std::string(colourOf(i)) + "\" stroke-width=\"2\"",
                "NDIM " + std::to_string(curves[i].ndim));
    ly += 18;
  }
  const double lx = kLeft + 14;
  ly = kLowPanelTop + 20;
  legendEntry(svg, lx, ly, "stroke=\"#777777\" stroke-width=\"6\" stroke-opacity=\"0.45\"",
              "scaling region, estimate");
  if (convergedValue) {
    char text[64];
    std::snprintf(text, sizeof text, "converged D = %.3f", *convergedValue);
    legendEntry(svg, lx, ly + 18, "stroke=\"#000000\" stroke-width=\"1.2\" stroke-dasharray=\"6 4\"", text);
  }
  svg += "</g>\n</svg>\n";
  return svg;
}

}  // namespace corrsum::report

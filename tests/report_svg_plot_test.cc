// The figure: tick choice, and an SVG document that is well formed and
// carries the panels, axes, legends and marks it promises.
#include "report/svg_plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace corrsum::report {
namespace {

TEST(ReportSvgPlot, NiceTicks) {
  struct Case {
    double lo, hi;
    int target;
    std::vector<double> values;
    int decimals;
  };
  const Case cases[] = {
      {-5.6, 0.4, 6, {-5, -4, -3, -2, -1, 0}, 0},
      {0.0, 1.8, 6, {0.0, 0.5, 1.0, 1.5}, 1},
      {-0.37, 0.02, 8, {-0.35, -0.30, -0.25, -0.20, -0.15, -0.10, -0.05, 0.0}, 2},
      {-9.3, -0.2, 8, {-8, -6, -4, -2}, 0},
      {0.0, 2.0, 4, {0.0, 0.5, 1.0, 1.5, 2.0}, 1},
      {120.0, 980.0, 5, {200, 400, 600, 800}, 0},
  };
  for (const Case& c : cases) {
    const AxisTicks t = niceTicks(c.lo, c.hi, c.target);
    ASSERT_EQ(t.values.size(), c.values.size()) << c.lo << " " << c.hi;
    for (std::size_t i = 0; i < c.values.size(); ++i) EXPECT_NEAR(t.values[i], c.values[i], 1e-12);
    EXPECT_EQ(t.decimals, c.decimals) << c.lo << " " << c.hi;
  }
  EXPECT_TRUE(niceTicks(1.0, 1.0, 6).values.empty());
}

// Every element opened is closed, in order; comments and the declaration
// aside. Returns "" or what went wrong.
std::string tagBalance(const std::string& svg) {
  std::vector<std::string> open;
  std::size_t pos = 0;
  while ((pos = svg.find('<', pos)) != std::string::npos) {
    const std::size_t end = svg.find('>', pos);
    if (end == std::string::npos) return "unterminated tag";
    const std::string tag = svg.substr(pos + 1, end - pos - 1);
    pos = end + 1;
    if (tag.empty() || tag[0] == '?' || tag[0] == '!') continue;
    if (tag[0] == '/') {
      if (open.empty() || open.back() != tag.substr(1)) return "unexpected </" + tag.substr(1) + ">";
      open.pop_back();
      continue;
    }
    if (tag.back() == '/') continue;
    open.push_back(tag.substr(0, tag.find_first_of(" \n")));
  }
  return open.empty() ? "" : "unclosed <" + open.back() + ">";
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

std::vector<PlotCurve> twoCurves() {
  std::vector<PlotCurve> curves;
  for (const int m : {2, 3}) {
    PlotCurve c;
    c.ndim = m;
    for (int i = 0; i < 300; ++i) {
      const double x = -5.0 + 0.02 * i;
      c.points.push_back({x, std::min(0.0, 1.2 * (x - 0.5))});
      c.slopes.push_back(i < 5 || i > 294 ? std::nan("") : (x < 0.5 ? 1.2 : 0.0));
    }
    c.slopes[100] = std::nan("");  // a gap inside the slopes
    c.region = ScalingRegion{50, 200, 1.2};
    DimensionEstimate e;
    e.dimension = 1.2;
    e.uncertainty = 0.01;
    e.lnRLow = c.points[50].lnR;
    e.lnRHigh = c.points[200].lnR;
    e.points = 151;
    c.estimate = e;
    curves.push_back(c);
  }
  return curves;
}

TEST(ReportSvgPlot, DocumentIsWellFormedWithPanelsAxesAndLegends) {
  const std::string svg = renderPlotSvg(twoCurves(), 1.2);
  EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
  EXPECT_EQ(tagBalance(svg), "");
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
  for (const char* text : {">ln r<", ">ln C(r)<", ">local slope<", ">NDIM 2<", ">NDIM 3<",
                           ">scaling region, estimate<", ">converged D = 1.200<", ">-5<", ">0<"}) {
    EXPECT_NE(svg.find(text), std::string::npos) << text;
  }
  // Per curve: one line of ln C, its region, and the slopes in two pieces
  // around the gap.
  EXPECT_EQ(count(svg, "<polyline"), 2 * (1 + 1 + 2));
  EXPECT_EQ(count(svg, "stroke-dasharray"), 2);  // the converged line and its legend key
  // Self-contained: nothing fetched, nothing run.
  for (const char* outside : {"href", "<script", "<image", "@import", "nan", "inf"}) {
    EXPECT_EQ(svg.find(outside), std::string::npos) << outside;
  }
  EXPECT_EQ(renderPlotSvg(twoCurves(), 1.2), svg);
}

TEST(ReportSvgPlot, WithoutConvergenceOrPointsTheFigureIsStillWhole) {
  const std::string noConvergence = renderPlotSvg(twoCurves(), std::nullopt);
  EXPECT_EQ(tagBalance(noConvergence), "");
  EXPECT_EQ(noConvergence.find("converged"), std::string::npos);
  EXPECT_EQ(count(noConvergence, "stroke-dasharray"), 0);

  std::vector<PlotCurve> empty(1);
  empty[0].ndim = 4;
  const std::string blank = renderPlotSvg(empty, std::nullopt);
  EXPECT_EQ(tagBalance(blank), "");
  EXPECT_EQ(count(blank, "<polyline"), 0);
  EXPECT_NE(blank.find(">NDIM 4<"), std::string::npos);
  EXPECT_EQ(blank.find("nan"), std::string::npos);
}

}  // namespace
}  // namespace corrsum::report

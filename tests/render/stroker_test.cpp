// Wide pen outlines: the union of round-capped, round-joined pieces.
#include "render/stroker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace zel {
namespace {

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

TEST(WideStroker, CoversThePixelsWithinHalfTheWidthOnce) {
  // A pixel belongs to the outline when its centre lies within width / 2 of
  // the polyline through the pixel centres; pixels within a quarter pixel of
  // that border may go either way (arcs are drawn as chords).
  std::mt19937 rng(77);
  const IntRect clip{0, 0, 40, 30};
  for (int round = 0; round < 200; ++round) {
    std::uniform_int_distribution<int> count(1, 6), cx(-5, 44), cy(-5, 34), width(2, 12);
    std::vector<IntPoint> pts(size_t(count(rng)));
    for (IntPoint& p : pts) p = {cx(rng), cy(rng)};
    const bool closed = round % 3 == 0;
    const int w = width(rng);
    WideStroker stroker;
    SpanList spans;
    stroker.Stroke(pts.data(), pts.size(), closed, w, clip, spans);
    bool covered[30][40] = {};
    for (size_t i = 0; i < spans.size(); ++i) {
      const Span& s = spans[i];
      ASSERT_TRUE(s.y >= clip.top && s.y < clip.bottom && s.x0 >= clip.left && s.x1 <= clip.right && s.x0 < s.x1);
      if (i > 0) {
        ASSERT_TRUE(s.y > spans[i - 1].y || s.x0 > spans[i - 1].x1) << "overlap in round " << round;
      }
      for (int x = s.x0; x < s.x1; ++x) covered[s.y][x] = true;
    }
    const size_t segments = closed && pts.size() > 2 ? pts.size() : std::max<size_t>(pts.size() - 1, 1);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        double d = 1e9;
        for (size_t k = 0; k < segments; ++k) {
          const IntPoint& a = pts[k];
          const IntPoint& b = pts[(k + 1) % pts.size()];
          d = std::min(d, DistanceToSegment(x, y, a.x, a.y, b.x, b.y));
        }
        if (std::fabs(d - w / 2.0) < 0.3) continue;
        if (covered[y][x] != (d < w / 2.0)) {
          std::string text;
          for (IntPoint p : pts) text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
          FAIL() << "round " << round << " width " << w << (closed ? " closed " : " open ") << text << " pixel "
                 << x << "," << y;
        }
      }
    }
  }
}

TEST(WideStroker, ExtremeAndDegenerateInput) {
  WideStroker stroker;
  SpanList spans;
  IntPoint far[] = {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}};
  stroker.Stroke(far, 3, true, 7, {0, 0, 5, 5}, spans);
  for (const Span& s : spans) EXPECT_TRUE(s.x0 >= 0 && s.x1 <= 5 && s.y >= 0 && s.y < 5);
  spans.clear();
  IntPoint same[] = {{2, 2}, {2, 2}, {2, 2}};
  stroker.Stroke(same, 3, false, 3, {0, 0, 5, 5}, spans);
  EXPECT_EQ(spans, (SpanList{{1, 1, 4}, {2, 1, 4}, {3, 1, 4}}));  // one round dot
}

}  // namespace
}  // namespace zel

// The polygon-set filler: spans of tiny polygons, the written pixels, the dot
// pattern, and a slow reference compared on random polygons.
#include "render/poly_poly_fill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace zel {
namespace {

struct Polys {
  std::vector<IntPoint> points;
  std::vector<int> counts;
  Polys& Add(std::vector<IntPoint> p) {
    points.insert(points.end(), p.begin(), p.end());
    counts.push_back(int(p.size()));
    return *this;
  }
};

SpanList SpansOf(const Polys& p, int w, int h) {
  CPolyPolyFill f;
  SpanList out;
  f.MakeSpans(w, h, p.points.data(), p.points.size(), p.counts.data(), int(p.counts.size()), out);
  return out;
}

std::vector<IntPoint> Box(int l, int t, int r, int b) { return {{l, t}, {r, t}, {r, b}, {l, b}}; }

TEST(PolyPolyFill, SpansOfSmallSets) {
  struct Case {
    const char* name;
    Polys polys;
    int w, h;
    SpanList expected;
  } cases[] = {
      {"rectangle", Polys().Add(Box(2, 2, 6, 5)), 10, 10, {{2, 2, 6}, {3, 2, 6}, {4, 2, 6}}},
      {"ring leaves its hole", Polys().Add(Box(0, 0, 6, 4)).Add(Box(2, 1, 4, 3)), 10, 10,
       {{0, 0, 6}, {1, 0, 2}, {1, 4, 6}, {2, 0, 2}, {2, 4, 6}, {3, 0, 6}}},
      {"overlap of two polygons stays empty", Polys().Add(Box(0, 0, 4, 2)).Add(Box(2, 0, 6, 2)), 10, 10,
       {{0, 0, 2}, {0, 4, 6}, {1, 0, 2}, {1, 4, 6}}},
      // Edges are held to column width - 1 and row height - 1, spans exclude their end.
      {"whole bitmap", Polys().Add(Box(-50, -50, 50, 50)), 5, 4, {{0, 0, 4}, {1, 0, 4}, {2, 0, 4}}},
      {"partly left of the bitmap", Polys().Add(Box(-3, 1, 2, 3)), 8, 8, {{1, 0, 2}, {2, 0, 2}}},
      {"triangle on one row", Polys().Add({{1, 3}, {5, 3}, {7, 3}}), 8, 8, {}},
      {"entirely outside", Polys().Add(Box(20, 20, 30, 30)), 8, 8, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SpansOf(c.polys, c.w, c.h), c.expected) << c.name;
}

TEST(PolyPolyFill, WritesColourIntoBottomUpRows) {
  DibImage dib;
  ASSERT_TRUE(dib.Create24(7, 5));
  Polys p = Polys().Add(Box(2, 2, 6, 5));
  CPolyPolyFill f;
  ASSERT_TRUE(f.fill(dib, p.points.data(), p.points.size(), p.counts.data(), 1, MakeColor(10, 20, 30), false));
  const uint64_t stride = dib.stride();
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) {
      const uint8_t* px = dib.bits.data() + stride * uint64_t(4 - y) + 3 * uint64_t(x);
      bool in = x >= 2 && x < 6 && y >= 2 && y < 4;  // row 4 is the last row: never filled
      EXPECT_EQ(px[0], in ? 30 : 0) << x << "," << y;
      EXPECT_EQ(px[2], in ? 10 : 0) << x << "," << y;
    }
  }
}

TEST(PolyPolyFill, DottedFillWritesEveryThirdPixelOfEveryThirdRow) {
  DibImage dib;
  ASSERT_TRUE(dib.Create24(12, 10));  // stride 36, a multiple of 9
  Polys p = Polys().Add(Box(-5, -5, 50, 50));
  CPolyPolyFill f;
  ASSERT_TRUE(f.fill(dib, p.points.data(), p.points.size(), p.counts.data(), 1, 0xFFFFFF, true));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) {
      bool written = dib.bits[dib.RowOffsetFromTop(y) + 3 * uint64_t(x)] != 0;
      bool expected = y % 3 == 0 && x % 3 == 0 && x < 11 && y < 9;
      EXPECT_EQ(written, expected) << x << "," << y;
    }
  }
}

TEST(PolyPolyFill, DepthsAndCounts) {
  Polys p = Polys().Add(Box(0, 0, 3, 3));
  CPolyPolyFill f;
  DibImage dib16;
  dib16.header.width = 4;
  dib16.header.height = 4;
  dib16.header.bitCount = 16;
  dib16.bits.assign(size_t(dib16.RequiredBits()), 0x11);
  std::vector<uint8_t> before = dib16.bits;
  EXPECT_TRUE(f.fill(dib16, p.points.data(), p.points.size(), p.counts.data(), 1, 0xFFFFFF, false));
  EXPECT_EQ(dib16.bits, before);
  EXPECT_FALSE(f.fill(dib16, p.points.data(), p.points.size(), p.counts.data(), 0, 0xFFFFFF, false));

  DibImage dib32 = dib16;
  dib32.header.bitCount = 32;
  dib32.bits.assign(size_t(dib32.RequiredBits()), 0);
  EXPECT_TRUE(f.fill(dib32, p.points.data(), p.points.size(), p.counts.data(), 1, MakeColor(1, 2, 3), false));
  const uint8_t* px = dib32.bits.data() + dib32.RowOffsetFromTop(0);
  EXPECT_EQ(px[0], 3);  // 0x00RRGGBB stored little-endian
  EXPECT_EQ(px[1], 2);
  EXPECT_EQ(px[2], 1);

  // Counts beyond the points and negative counts read nothing past the array.
  int counts[3] = {4, -7, 1000};
  DibImage dib;
  ASSERT_TRUE(dib.Create24(4, 4));
  EXPECT_TRUE(f.fill(dib, p.points.data(), p.points.size(), counts, 3, 0xFFFFFF, false));
}

TEST(PolyPolyFill, ExtremeCoordinatesNeitherOverflowNorEscape) {
  // Differences of 32-bit coordinates exceed 32 bits; crossings must still land
  // on the right side, held inside the bitmap.
  Polys p = Polys().Add({{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}});
  EXPECT_EQ(SpansOf(p, 6, 4), (SpanList{{0, 0, 5}, {1, 0, 5}, {2, 0, 5}}));
  // A steep sliver far left crossing every row: held to column 0, so nothing.
  Polys q = Polys().Add({{-2000000000, -2000000000}, {-1999999999, 2000000000}, {-1999999998, 2000000000}});
  EXPECT_TRUE(SpansOf(q, 6, 4).empty());
  // A diagonal from far above-left to far below-right, as in a deep zoom.
  Polys d = Polys().Add({{-1000000000, -1000000000}, {1000000000, 1000000000}, {-1000000000, 1000000000}});
  EXPECT_EQ(SpansOf(d, 5, 5), (SpanList{{1, 0, 1}, {2, 0, 2}, {3, 0, 3}}));
}

TEST(PolyPolyFill, WritingCutsSpansToTheBitmap) {
  DibImage dib;
  ASSERT_TRUE(dib.Create24(5, 3));
  SpanList spans{{-1, 0, 5}, {0, -10, 2}, {1, 3, 99}, {2, -5, 100}, {3, 0, 5}, {1, 7, 9}};
  CPolyPolyFill::WriteSpans(dib, spans, 0xFFFFFF, false);
  auto px = [&](int x, int y) { return dib.bits[dib.RowOffsetFromTop(y) + 3 * uint64_t(x)]; };
  EXPECT_EQ(px(0, 0), 0xFF);
  EXPECT_EQ(px(2, 0), 0);
  EXPECT_EQ(px(2, 1), 0);
  EXPECT_EQ(px(4, 1), 0xFF);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(px(x, 2), 0xFF);
}

// The reference: every row, every clipped edge of every polygon, the crossing
// computed exactly from the edge's ends, held to the border columns, rounded
// half away from zero; sorted crossings pair up.
SpanList ReferenceSpans(const Polys& p, int w, int h) {
  struct Edge {
    int64_t x, y0, y1, dx, dy;
  };
  std::vector<Edge> edges;
  size_t start = 0;
  for (int n : p.counts) {
    for (int k = 0; k < n; ++k) {
      IntPoint a = p.points[start + size_t(k)], b = p.points[start + size_t((k + 1) % n)];
      if (a.y == b.y || (a.y <= 0 && b.y <= 0) || (a.y >= h - 1 && b.y >= h - 1)) continue;
      if (a.y > b.y) std::swap(a, b);
      int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
      Edge e{a.x, a.y, std::min<int64_t>(b.y, h - 1), dx, dy};
      if (e.y0 < 0) {
        __int128 shift = __int128(-e.y0) * dx;  // rounded half away from zero
        int64_t s = shift >= 0 ? int64_t((2 * shift + dy) / (2 * dy)) : -int64_t((-2 * shift + dy) / (2 * dy));
        e.x += s;
        e.y0 = 0;
      }
      edges.push_back(e);
    }
    start += size_t(n);
  }
  SpanList out;
  for (int r = 0; r < h; ++r) {
    std::vector<int> xs;
    for (const Edge& e : edges) {
      if (r < e.y0 || r >= e.y1) continue;
      __int128 num = __int128(e.x) * e.dy + __int128(r - e.y0) * e.dx;
      int64_t x;
      if (num < 0) {
        x = 0;
      } else if (num > __int128(w - 1) * e.dy) {
        x = w - 1;
      } else {
        x = int64_t((2 * num + e.dy) / (2 * e.dy));
      }
      xs.push_back(int(x));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2)
      if (xs[i] < xs[i + 1]) out.push_back({r, xs[i], xs[i + 1]});
  }
  return out;
}

TEST(PolyPolyFill, MatchesSlowReferenceOnRandomSets) {
  std::mt19937 rng(7031);
  for (int round = 0; round < 500; ++round) {
    std::uniform_int_distribution<int> polygons(1, 3), count(3, 8), coord(-15, 45), size(1, 30);
    int w = size(rng), h = size(rng);
    Polys p;
    int n = polygons(rng);
    for (int i = 0; i < n; ++i) {
      std::vector<IntPoint> poly(size_t(count(rng)));
      for (IntPoint& q : poly) q = {coord(rng), coord(rng)};
      p.Add(poly);
    }
    SpanList fast = SpansOf(p, w, h);
    SpanList slow = ReferenceSpans(p, w, h);
    if (fast != slow) {
      std::string text;
      for (size_t i = 0, k = 0; i < p.counts.size(); ++i) {
        text += "[";
        for (int j = 0; j < p.counts[i]; ++j, ++k)
          text += "(" + std::to_string(p.points[k].x) + "," + std::to_string(p.points[k].y) + ")";
        text += "]";
      }
      FAIL() << "round " << round << " size " << w << "x" << h << " polygons " << text;
    }
    for (const Span& s : fast) ASSERT_TRUE(s.y >= 0 && s.y < h && s.x0 >= 0 && s.x1 <= w);
  }
}

}  // namespace
}  // namespace zel

// Random editing sequences on random drawings: undoing every step restores
// each earlier drawing and redoing reapplies every step.
//
// Drawings are compared through their binary shape records, byte for byte,
// as long as no transform step has been replayed. Transforms are undone
// arithmetically with the inverse matrix; once one has been replayed the
// comparison decodes the records and allows every coordinate to differ by
// kAbsTolerance + kRelTolerance x |value| (everything else still exactly).
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/drawing_helpers.h"
#include "model/undo_session.h"

namespace zel {
namespace {

using testing::Session;
using testing::Snapshot;

constexpr double kAbsTolerance = 0.01;  // mm/10
constexpr double kRelTolerance = 1e-5;

class Rng {
 public:
  explicit Rng(uint32_t seed) : gen_(seed) {}
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen_); }
  float Float(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(gen_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(gen_); }

 private:
  std::mt19937 gen_;
};

PointF RandomPoint(Rng& rng) { return {rng.Float(-500, 500), rng.Float(-700, 700)}; }

std::unique_ptr<Shape> RandomPath(Rng& rng) {
  auto s = std::make_unique<Shape>(KindPath);
  PathContent& p = *s->path();
  p.penStyle = rng.Chance(0.2) ? kPenNull : kPenSolid;
  p.lineWidth = 3 * rng.Int(0, 3);
  p.penColor = static_cast<ColorRef>(rng.Int(0, 0xFFFFFF));
  p.brushStyle = rng.Int(0, 3);
  for (int c = rng.Int(1, 3); c > 0; --c) {
    SubPath nodes;
    for (int k = rng.Int(2, 6); k > 0; --k) {
      PathNode n;
      n.anchor = RandomPoint(rng);
      n.in = n.out = n.anchor;
      if (rng.Chance(0.5)) {
        n.in = {n.anchor.x + rng.Float(-50, 50), n.anchor.y + rng.Float(-50, 50)};
        n.out = {n.anchor.x + rng.Float(-50, 50), n.anchor.y + rng.Float(-50, 50)};
      }
      n.flags = static_cast<uint16_t>(rng.Int(0, 1));
      nodes.push_back(n);
    }
    if (rng.Chance(0.5)) nodes.push_back(nodes.front());
    p.subPaths.push_back(nodes);
  }
  return s;
}

std::unique_ptr<Shape> RandomText(Rng& rng) {
  auto s = std::make_unique<Shape>(KindText);
  TextContent& t = *s->text();
  const char16_t* texts[] = {u"Ab", u"x\r\nyz", u"", u"word wrap here"};
  t.text = texts[rng.Int(0, 3)];
  t.faceName = rng.Chance(0.5) ? u"DejaVu Sans" : u"Liberation Serif";
  t.size = rng.Float(10, 200);
  t.styleBits = static_cast<uint32_t>(rng.Int(0, 7));
  t.anchor = RandomPoint(rng);
  t.textType = rng.Int(1, 2);
  t.corner = {t.anchor.x + rng.Float(100, 400), t.anchor.y + rng.Float(50, 200)};
  t.angle = t.textType == kTextArtistic ? rng.Float(0, 360) : 0.0f;
  t.alignment = rng.Int(1, 3);
  return s;
}

std::unique_ptr<Shape> RandomImage(Rng& rng) {
  auto s = std::make_unique<Shape>(KindImage);
  ImageContent& im = *s->image();
  EXPECT_TRUE(im.dib.Create24(rng.Int(1, 4), rng.Int(1, 3)));
  for (uint8_t& b : im.dib.bits) b = static_cast<uint8_t>(rng.Int(0, 255));
  const PointF a = RandomPoint(rng);
  const float w = rng.Float(-200, 200), h = rng.Float(-200, 200);
  im.placement = RectF{a.x, a.x + w, a.y, a.y + h};
  return s;
}

std::unique_ptr<Shape> RandomShape(Rng& rng, int pages) {
  const int kind = rng.Int(0, 9);
  auto s = kind < 7 ? RandomPath(rng) : kind < 9 ? RandomImage(rng) : RandomText(rng);
  s->fillColor = static_cast<ColorRef>(rng.Int(0, 0xFFFFFF));
  s->pageIndex = rng.Int(0, pages - 1);
  s->groupId = rng.Chance(0.6) ? 0 : rng.Int(1, 4);
  s->UpdateBounds();
  return s;
}

void RandomDrawing(Rng& rng, Drawing& d) {
  d.SetPageCount(rng.Int(1, 3));
  for (int n = rng.Int(3, 14); n > 0; --n) d.Add(RandomShape(rng, d.PageCount()));
}

Selection RandomSelection(Rng& rng, const Session& s) {
  Selection pool;
  const bool pageOnly = rng.Chance(0.7);
  for (int i = 0; i < s.drawing.Count(); ++i) {
    if (!pageOnly || s.drawing.GetShape(i)->pageIndex == s.page) pool.push_back(i);
  }
  Selection sel;
  for (int k = rng.Int(0, 5); k > 0 && !pool.empty(); --k) {
    const int pick = rng.Int(0, static_cast<int>(pool.size()) - 1);
    sel.push_back(pool[static_cast<size_t>(pick)]);
    pool.erase(pool.begin() + pick);
  }
  if (rng.Chance(0.1)) sel = SelectAll(s.drawing, s.page);
  return sel;
}

Transform RandomTransform(Rng& rng, bool invertible) {
  const PointF c = RandomPoint(rng);
  Transform t;
  t.Translate(-c.x, -c.y);  // added first, acts last: moves back from the centre
  switch (rng.Int(invertible ? 0 : 3, invertible ? 2 : 4)) {
    case 0: t.Translate(rng.Float(-300, 300), rng.Float(-300, 300)); break;
    case 1: t.Rotate(rng.Float(-3.2f, 3.2f)); break;
    case 2:
      t.Scale(rng.Float(0.5f, 2.0f) * (rng.Chance(0.3) ? -1.0f : 1.0f),
              rng.Float(0.5f, 2.0f) * (rng.Chance(0.3) ? -1.0f : 1.0f));
      break;
    case 3: {
      const int zero = rng.Int(0, 2);  // width, height or both to nothing
      t.Scale(zero != 1 ? 0.0f : 1.5f, zero != 0 ? 0.0f : 1.5f);
      break;
    }
    case 4: t.Scale(1e-6f, 1.0f); break;
  }
  t.Translate(c.x, c.y);
  return t;
}

// Runs one random command; returns its name.
std::string RandomStep(Rng& rng, Session& s, bool transforms) {
  s.selection = RandomSelection(rng, s);
  switch (rng.Int(0, transforms ? 19 : 17)) {
    case 0: s.DeleteCmd(); return "delete";
    case 1: s.CutCmd(); return "cut";
    case 2: s.CopyCmd(); s.PasteCmd({rng.Float(-400, 400), rng.Float(-400, 400)}); return "paste";
    case 3: s.JoinCmd(); return "join";
    case 4: s.BreakApartCmd(); return "break apart";
    case 5: s.GroupCmd(); return "group";
    case 6: s.UngroupCmd(); return "ungroup";
    case 7: s.ReorderCmd(true); return "bring to front";
    case 8: s.ReorderCmd(false); return "send to back";
    case 9: s.AlignCmd(static_cast<AlignCommand>(rng.Int(0, 5))); return "align";
    case 10: s.StyleCmd(static_cast<StyleCommand>(rng.Int(0, 5))); return "style";
    case 11:
      if (s.history.RecordChange(true, s.selection)) {
        SetFillColor(s.drawing, s.selection, static_cast<ColorRef>(rng.Int(0, 0xFFFFFF)));
      }
      return "fill colour";
    case 12: s.AddShapeCmd(RandomShape(rng, 1)); return "add shape";
    case 13: s.AddPageCmd(); return "add page";
    case 14: s.InsertPageCmd(rng.Chance(0.5)); return "insert page";
    case 15: s.DeletePageCmd(); return "delete page";
    case 16: s.ReverseAllCmd(); return "reorder all";
    case 17: s.TransformCmd(RandomTransform(rng, false)); return "singular transform";
    default: s.TransformCmd(RandomTransform(rng, true)); return "transform";
  }
}

bool Near(float a, float b) {
  return std::fabs(double{a} - b) <= kAbsTolerance + kRelTolerance * std::fabs(double{b});
}
bool Near(PointF a, PointF b) { return Near(a.x, b.x) && Near(a.y, b.y); }

// Compares the drawing with a snapshot, coordinates within the tolerance.
::testing::AssertionResult NearlyEqual(const Drawing& d, const std::vector<uint8_t>& snapshot) {
  ByteReader r(snapshot);
  int32_t pages = 0, count = 0;
  float w = 0, h = 0;
  uint32_t background = 0;
  if (!r.I32(&pages) || !r.F32(&w) || !r.F32(&h) || !r.U32(&background) || !r.I32(&count)) {
    return ::testing::AssertionFailure() << "bad snapshot";
  }
  if (pages != d.PageCount() || count != d.Count()) {
    return ::testing::AssertionFailure() << "pages " << d.PageCount() << " vs " << pages
                                         << ", shapes " << d.Count() << " vs " << count;
  }
  for (int i = 0; i < count; ++i) {
    Shape want;
    if (!want.Read(r)) return ::testing::AssertionFailure() << "bad record " << i;
    const Shape& got = *d.GetShape(i);
    auto fail = [&](const char* what) {
      return ::testing::AssertionFailure() << "shape " << i << ": " << what;
    };
    if (got.kind() != want.kind() || got.groupId != want.groupId ||
        got.pageIndex != want.pageIndex || got.fillColor != want.fillColor) {
      return fail("header");
    }
    if (const PathContent* a = got.path()) {
      const PathContent* b = want.path();
      if (a->penStyle != b->penStyle || a->lineWidth != b->lineWidth ||
          a->penColor != b->penColor || a->brushStyle != b->brushStyle ||
          a->subPaths.size() != b->subPaths.size()) {
        return fail("path style");
      }
      for (size_t c = 0; c < a->subPaths.size(); ++c) {
        if (a->subPaths[c].size() != b->subPaths[c].size()) return fail("node count");
        for (size_t k = 0; k < a->subPaths[c].size(); ++k) {
          const PathNode& x = a->subPaths[c][k];
          const PathNode& y = b->subPaths[c][k];
          if (x.flags != y.flags || !Near(x.anchor, y.anchor) || !Near(x.in, y.in) ||
              !Near(x.out, y.out)) {
            return fail("node");
          }
        }
      }
    } else if (const ImageContent* a = got.image()) {
      const ImageContent* b = want.image();
      if (a->dib.bits != b->dib.bits || !Near(a->placement.xmin, b->placement.xmin) ||
          !Near(a->placement.xmax, b->placement.xmax) ||
          !Near(a->placement.ymin, b->placement.ymin) ||
          !Near(a->placement.ymax, b->placement.ymax)) {
        return fail("image");
      }
    } else if (testing::ShapeBytes(got) != testing::ShapeBytes(want)) {
      return fail("text (never transformed arithmetically)");
    }
  }
  return ::testing::AssertionSuccess();
}

struct Step {
  std::string name;
  std::vector<uint8_t> before;
  std::vector<uint8_t> after;
  bool transform;
};

// Applies random steps, then undoes them all and redoes them all.
void RunSequence(uint32_t seed, bool transforms) {
  Rng rng(seed);
  Session s;
  RandomDrawing(rng, s.drawing);
  std::vector<Step> steps;
  for (int n = 0; n < 25; ++n) {
    s.page = rng.Int(0, s.drawing.PageCount() - 1);
    const auto before = Snapshot(s.drawing);
    const size_t recorded = s.history.UndoCount();
    std::string name = RandomStep(rng, s, transforms);
    if (s.history.UndoCount() == recorded) {
      // A command that records nothing must change nothing.
      ASSERT_EQ(Snapshot(s.drawing), before) << name << " at step " << n;
      continue;
    }
    ASSERT_EQ(s.history.UndoCount(), recorded + 1) << name;
    steps.push_back({name, before, Snapshot(s.drawing), s.history.NextUndoAction() == 10});
  }

  bool drifted = false;  // a transform has been replayed arithmetically
  for (size_t k = steps.size(); k-- > 0;) {
    SCOPED_TRACE("undo of step " + std::to_string(k) + ": " + steps[k].name);
    ASSERT_TRUE(s.history.Undo());
    drifted = drifted || steps[k].transform;
    if (drifted) {
      ASSERT_TRUE(NearlyEqual(s.drawing, steps[k].before));
    } else {
      ASSERT_EQ(Snapshot(s.drawing), steps[k].before);
    }
    for (int i : s.selection) ASSERT_NE(s.drawing.GetShape(i), nullptr);
  }
  EXPECT_FALSE(s.history.Undo());
  for (size_t k = 0; k < steps.size(); ++k) {
    SCOPED_TRACE("redo of step " + std::to_string(k) + ": " + steps[k].name);
    ASSERT_TRUE(s.history.Redo());
    if (drifted) {
      ASSERT_TRUE(NearlyEqual(s.drawing, steps[k].after));
    } else {
      ASSERT_EQ(Snapshot(s.drawing), steps[k].after);
    }
  }
  EXPECT_FALSE(s.history.Redo());
  EXPECT_EQ(s.history.UndoCount(), steps.size());
}

TEST(UndoProperty, StepsWithoutTransformsRestoreExactly) {
  for (uint32_t seed = 1; seed <= 150; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RunSequence(seed, false);
    if (HasFatalFailure()) return;
  }
}

TEST(UndoProperty, StepsWithTransformsRestoreWithinTolerance) {
  for (uint32_t seed = 1001; seed <= 1150; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RunSequence(seed, true);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace zel

// Save, open and save again: every shape, style, text, font, picture, group
// and page survives, compared field by field through the binary shape
// records.
//
// Drift bound. A model coordinate v goes to points as k(v + W/2) with
// k = 0.28346518, is printed with d decimals and comes back as K p - W/2
// with K = 3.52777. Since k K = 1 - 4.1e-8, and each of the two affine maps
// rounds to single precision a few times, a coordinate may move by at most
//     |1 - kK| R  +  K * 0.5e-d  +  4 FLT_EPSILON R,      R = |v| + (W + H) / 2,
// per save and open: d = 6 for paths, pictures and line widths, d = 4 for
// text anchors and paragraph boxes. Text sizes are printed with two
// decimals, so a size may move by K * 0.005 (and an anchor with it, since
// the file places text by its baseline, one size below the anchor).
// Everything else (kinds, styles, colours, texts, fonts, pixels, groups,
// pages) must come back exactly.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/byte_stream.h"
#include "pdf_test_util.h"
#include "platform/utf16.h"

namespace zel {
namespace {

using namespace zel::testing;

constexpr double kProductError = 1.0 - double(kModelToPoints) * double(kPointsToModel);
constexpr double kSizeStep = double(kPointsToModel) * 0.005;

double Bound(double v, double halfPages, int decimals) {
  const double r = std::fabs(v) + halfPages;
  return std::fabs(kProductError) * r + double(kPointsToModel) * 0.5 * std::pow(10.0, -decimals) +
         4 * double(FLT_EPSILON) * r;
}

// Walks the records of two shapes side by side and reports the first field
// that differs by more than its bound.
class RecordPair {
 public:
  RecordPair(const Shape& a, const Shape& b, double halfPages)
      : halfPages_(halfPages), wa_(Record(a)), wb_(Record(b)) {}

  ::testing::AssertionResult Compare() {
    uint32_t kind = U32("kind");
    U32("group");
    U32("page");
    U32("fill colour");
    if (kind == KindPath) {
      U32("pen style");
      U32("line width");
      U32("pen colour");
      U32("brush style");
      const uint32_t contours = U32("contour count");
      for (uint32_t c = 0; c < contours && ok_; ++c) {
        const uint32_t nodes = U32("node count");
        for (uint32_t n = 0; n < nodes && ok_; ++n) {
          uint16_t fa = 0, fb = 0;
          Check(ra_.U16(&fa) && rb_.U16(&fb), "node flags");
          if (fa != fb) Fail("node flags");
          Coord("anchor x", 6);
          Coord("anchor y", 6);
          if (!(fa & kNodeRecordNoHandles)) {
            for (const char* h : {"in x", "in y", "out x", "out y"}) Coord(h, 6);
          }
        }
      }
    } else if (kind == KindText) {
      Units("text");
      Units("face name");
      Float("size", kSizeStep + 4 * double(FLT_EPSILON) * 1000);
      U32("style bits");
      Float("anchor x", Bound(0, halfPages_, 4) + kSizeStep + 2 * double(FLT_EPSILON) * halfPages_);
      Float("anchor y", Bound(0, halfPages_, 4) + kSizeStep + 2 * double(FLT_EPSILON) * halfPages_);
      Coord("corner x", 4);
      Coord("corner y", 4);
      Float("angle", 0.0);
      U32("alignment");
      U32("text type");
    } else if (kind == KindImage) {
      for (const char* p : {"x0", "x1", "y0", "y1"}) Coord(p, 6);
      const uint32_t header = U32("header size");
      Bytes(header, "header");
      const uint32_t pixels = U32("pixel count");
      Bytes(pixels, "pixels");
    }
    if (ok_ && (ra_.remaining() || rb_.remaining())) Fail("record length");
    return ok_ ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << message_.str();
  }

 private:
  static ByteWriter Record(const Shape& s) {
    ByteWriter w;
    s.Write(w);
    return w;
  }
  void Fail(const char* what) {
    if (ok_) message_ << "first difference: " << what;
    ok_ = false;
  }
  void Check(bool read, const char* what) {
    if (!read) Fail(what);
  }
  uint32_t U32(const char* what) {
    uint32_t a = 0, b = 0;
    if (!ok_) return 0;
    Check(ra_.U32(&a) && rb_.U32(&b), what);
    if (ok_ && a != b) {
      Fail(what);
      message_ << " " << a << " vs " << b;
    }
    return a;
  }
  void Float(const char* what, double bound) {
    float a = 0, b = 0;
    if (!ok_) return;
    Check(ra_.F32(&a) && rb_.F32(&b), what);
    if (ok_ && !(std::fabs(double(a) - double(b)) <= bound)) {
      Fail(what);
      message_ << " " << a << " vs " << b << " (bound " << bound << ")";
    }
  }
  void Coord(const char* what, int decimals) {
    // The bound depends on the value; peek at it first.
    ByteReader peek = ra_;
    float v = 0;
    (void)peek.F32(&v);
    Float(what, Bound(v, halfPages_, decimals));
  }
  void Units(const char* what) {
    const uint32_t n = U32(what);
    Bytes(uint64_t(n) * 2, what);
  }
  void Bytes(uint64_t n, const char* what) {
    if (!ok_) return;
    std::vector<uint8_t> a(n), b(n);
    Check(ra_.Read(a.data(), n) == n && rb_.Read(b.data(), n) == n, what);
    if (ok_ && a != b) Fail(what);
  }

  double halfPages_;
  ByteWriter wa_, wb_;
  ByteReader ra_{wa_.bytes()};
  ByteReader rb_{wb_.bytes()};
  bool ok_ = true;
  std::ostringstream message_;
};

// The drawing as the file orders it: page by page, groups renumbered in
// that order.
void PageMajor(const Drawing& d, Drawing* out) {
  out->RemoveAll();
  out->SetPageCount(d.PageCount());
  out->SetPageSize(d.GetPageSize().width, d.GetPageSize().height);
  for (int p = 0; p < d.PageCount(); ++p) {
    for (int i = 0; i < d.Count(); ++i) {
      if (d.GetShape(i)->pageIndex == p) out->Add(d.GetShape(i)->Clone());
    }
  }
  out->RenumberGroups();
}

void ExpectSameDrawing(const Drawing& expected, const Drawing& got) {
  Drawing a, b;
  PageMajor(expected, &a);
  PageMajor(got, &b);
  EXPECT_EQ(b.PageCount(), a.PageCount());
  EXPECT_NEAR(b.GetPageSize().width, a.GetPageSize().width, Bound(a.GetPageSize().width, 0, 4));
  EXPECT_NEAR(b.GetPageSize().height, a.GetPageSize().height, Bound(a.GetPageSize().height, 0, 4));
  ASSERT_EQ(b.Count(), a.Count());
  const double halfPages = (a.GetPageSize().width + a.GetPageSize().height) / 2;
  for (int i = 0; i < a.Count(); ++i) {
    EXPECT_TRUE(RecordPair(*a.GetShape(i), *b.GetShape(i), halfPages).Compare()) << "shape " << i;
  }
}

std::unique_ptr<Shape> Styled(std::unique_ptr<Shape> s, int pen, int width, ColorRef penColor, int brush,
                              ColorRef fill, int page, int group = 0) {
  s->path()->penStyle = pen;
  s->path()->lineWidth = width;
  s->path()->penColor = penColor;
  s->path()->brushStyle = brush;
  s->fillColor = fill;
  s->pageIndex = page;
  s->groupId = group;
  s->UpdateBounds();
  return s;
}

std::unique_ptr<Shape> Text(const std::u16string& text, const char16_t* face, uint32_t style, PointF anchor,
                            float angle, int alignment, float size, int page, int group = 0) {
  auto s = TextShape(text, anchor, kTextArtistic, {}, page);
  s->text()->faceName = face;
  s->text()->styleBits = style;
  s->text()->angle = angle;
  s->text()->alignment = alignment;
  s->text()->size = size;
  s->fillColor = MakeColor(int(anchor.x) & 0xFF, 30, 200);
  s->groupId = group;
  s->UpdateBounds();
  return s;
}

std::unique_ptr<Shape> Paragraph(const std::u16string& text, PointF anchor, PointF corner, int alignment,
                                 int page) {
  auto s = TextShape(text, anchor, kTextParagraph, corner, page);
  s->text()->faceName = u"Liberation Serif";
  s->text()->size = 40.0f;
  s->text()->alignment = alignment;
  s->UpdateBounds();
  return s;
}

// One of everything, shapes of the three pages interleaved in the list.
void Fixture(Drawing& d) {
  d.SetPageSize(1480, 2100);
  d.SetPageCount(4);  // page 3 stays empty
  d.Add(Styled(MakeRectangle({-600, -200, -900, -600}), kPenSolid, kLineNormal, MakeColor(1, 2, 3), kBrushSolid,
               MakeColor(254, 128, 127), 0, 1));
  d.Add(Styled(MakeEllipse({-100, 300, -900, -600}), kPenNull, kLineThick, MakeColor(9, 8, 7), kBrushSolid,
               MakeColor(0, 255, 1), 1));
  d.Add(Text(u"Grouped label", u"Liberation Sans", 0, {-580, -880}, 0, kAlignLeft, 50.0f, 0, 1));
  // An open curve, a mixed path, a hole, the dotted fill, cusps, widths.
  SubPath curve = {PathNode{{-600, 0}, {-600, 0}, {-500, -150}, 0},
                   PathNode{{-400, 150}, {-300, 0}, {-200, -150}, kNodeCusp},
                   PathNode{{-100, 150}, {0, 0}, {0, 0}, 0}};
  d.Add(Styled(PathShape({curve}), kPenSolid, kLineBold, MakeColor(0, 120, 0), kBrushNull, MakeColor(77, 66, 55), 0));
  d.Add(Styled(PathShape({Contour({{100, 0}, {400, 0}, {400, 300}}, true), Contour({{450, 0}, {600, 200}}, false)}),
               kPenSolid, 10, MakeColor(200, 0, 0), kBrushNull, 0, 2, 2));
  d.Add(Styled(PathShape({Contour({{-600, 300}, {-200, 300}, {-200, 700}, {-600, 700}}, true),
                          Contour({{-500, 400}, {-300, 400}, {-300, 600}, {-500, 600}}, true)}),
               kPenSolid, kLineFine, 0, kBrushSolid, MakeColor(90, 90, 200), 0));
  d.Add(Styled(MakeRectangle({0, 300, 300, 600}), kPenSolid, kLineNormal, 0, kBrushDotted, MakeColor(0, 60, 160), 1));
  d.Add(Styled(MakeRectangle({-100, 0, 700, 800}), kPenNull, kLineBold, MakeColor(3, 3, 3), kBrushNull,
               MakeColor(4, 4, 4), 0));
  // Texts: fonts and styles, angles, alignments, line breaks, small sizes.
  d.Add(Text(u"Bold serif", u"Liberation Serif", kTextBold, {-600, 850}, 30, kAlignLeft, 70.555496f, 0));
  d.Add(Text(u"Italic mono\r\nsecond line\r\n", u"Liberation Mono", kTextItalic, {0, 850}, 90, kAlignCenter, 49.0f,
             0, 3));
  d.Add(Text(u"Under (1) \\ lined", u"DejaVu Sans", kTextBold | kTextItalic | kTextUnderline, {-600, 950}, 200,
             kAlignRight, 35.0f, 2, 3));
  d.Add(Text(u"right\r\naligned longer", u"DejaVu Serif", 0, {100, 950}, 359, kAlignRight, 30.0f, 2));
  d.Add(Text(u"tiny", u"Liberation Sans", 0, {200, 1000}, 0, kAlignLeft, 2.0f, 0));  // below 1 point
  d.Add(Text(u"", u"Liberation Sans", kTextUnderline, {300, 1000}, 0, kAlignLeft, 40.0f, 0));
  d.Add(Paragraph(u"Paragraph text wraps at spaces  inside its box;\r\na hard break\r\nand trailing spaces   ",
                  {-600, -400}, {-100, -100}, kAlignLeft, 2));
  d.Add(Paragraph(u"Centred and overflowing: this paragraph holds far more words than its small box can show, "
                  u"so its last lines are written invisible.",
                  {0, -400}, {400, -300}, kAlignCenter, 2));
  d.Add(Paragraph(u"Averyveryverylongwordthatcannotwrap and more", {0, -250}, {150, 0}, kAlignRight, 2));
  // Pictures: row padding of widths 1 to 4 and 7, a column, a mirror.
  int x = -600;
  for (int w : {1, 2, 3, 4, 7}) {
    d.Add(ImageShape(Picture24(w, 5), {float(x), float(x + 100), 1100, 1200}, 1));
    x += 150;
  }
  d.Add(ImageShape(Picture24(1, 9), {200, 260, 1100, 1300}, 0));
  d.Add(ImageShape(Picture24(6, 4), {600, 400, 1300, 1100}, 2));
  d.GetShape(d.Count() - 1)->groupId = 2;
}

TEST(PdfRoundTripTest, SaveOpenSaveKeepsEverything) {
  Drawing d0;
  Fixture(d0);
  TempDir dir;
  ASSERT_TRUE(SavePdf(dir / "first.pdf", d0));
  EXPECT_TRUE(QpdfClean(dir / "first.pdf"));
  Drawing d1;
  ASSERT_TRUE(LoadPdf(dir / "first.pdf", d1)) << ToUtf8(d1.LastError());
  {
    SCOPED_TRACE("first save");
    ExpectSameDrawing(d0, d1);
  }
  ASSERT_TRUE(SavePdf(dir / "second.pdf", d1));
  EXPECT_TRUE(QpdfClean(dir / "second.pdf"));
  Drawing d2;
  ASSERT_TRUE(LoadPdf(dir / "second.pdf", d2));
  {
    SCOPED_TRACE("second save");
    ExpectSameDrawing(d1, d2);
  }
}

TEST(PdfRoundTripTest, EveryExampleRoundTrips) {
  for (const auto& file : ExampleFiles()) {
    SCOPED_TRACE(file.filename().string());
    Drawing d1, d2;
    ASSERT_TRUE(LoadPdf(file.string(), d1)) << ToUtf8(d1.LastError());
    ASSERT_TRUE(ReadPdf(PdfBytes(d1), d2));
    ExpectSameDrawing(d1, d2);
  }
}

// Artistic text below about 3 points used to grow on every save: the unit
// conversion went through the shape transform, which clamps sizes at 3.
TEST(PdfRoundTripTest, SmallTextKeepsItsSize) {
  for (float size : {0.5f, 2.0f, 8.0f, 10.6f}) {
    Drawing d;
    d.Add(Text(u"s", u"Liberation Sans", 0, {0, 0}, 0, kAlignLeft, size, 0));
    d.Add(Paragraph(u"p", {0, 0}, {100, 100}, kAlignLeft, 0));
    d.GetShape(1)->text()->size = size;
    Drawing back;
    ASSERT_TRUE(ReadPdf(PdfBytes(d), back));
    for (int i = 0; i < 2; ++i) EXPECT_NEAR(back.GetShape(i)->text()->size, size, kSizeStep) << size;
  }
}

TEST(PdfRoundTripTest, TextAnglesComeBackAsWholeDegrees) {
  const std::pair<float, float> cases[] = {{30.4f, 30}, {-30, 330}, {359.6f, 0}, {720, 0}, {89.5f, 90}};
  for (auto [angle, expected] : cases) {
    Drawing d;
    d.Add(Text(u"a", u"Liberation Sans", 0, {100, -200}, angle, kAlignLeft, 40.0f, 0));
    Drawing back;
    ASSERT_TRUE(ReadPdf(PdfBytes(d), back));
    EXPECT_EQ(back.GetShape(0)->text()->angle, expected) << angle;
    // The anchor stays where it was whatever the angle.
    EXPECT_NEAR(back.GetShape(0)->text()->anchor.x, 100, 0.05);
    EXPECT_NEAR(back.GetShape(0)->text()->anchor.y, -200, 0.05);
  }
}

// A contour of a single node has nothing to show and is not written; the
// other contours of its path stay.
TEST(PdfRoundTripTest, SingleNodeContoursAreLeftOut) {
  Drawing d;
  d.Add(PathShape({Contour({{0, 0}}, false), Contour({{10, 10}, {50, 50}}, false)}));
  d.Add(PathShape({Contour({{5, 5}}, false)}));
  Drawing back;
  ASSERT_TRUE(ReadPdf(PdfBytes(d), back));
  ASSERT_EQ(back.Count(), 1);
  ASSERT_EQ(back.GetShape(0)->path()->subPaths.size(), 1u);
  EXPECT_EQ(back.GetShape(0)->path()->subPaths[0].size(), 2u);
}

}  // namespace
}  // namespace zel

namespace zel {
namespace {

using namespace zel::testing;

// The file holds the handles that draw. An open contour's outer handles
// (before its first node, after its last) draw nothing and come back on
// their anchors; a closed contour's first node and its closing copy share
// their handles again.
TEST(PdfRoundTripTest, OnlyHandlesThatDrawAreStored) {
  SubPath open = {PathNode{{-50, -50}, {0, 0}, {50, -50}, 0}, PathNode{{100, 50}, {150, 0}, {200, 50}, 0}};
  SubPath closed = {PathNode{{-50, 150}, {0, 100}, {50, 50}, 0}, PathNode{{150, 50}, {200, 100}, {150, 150}, 0},
                    PathNode{{50, 150}, {0, 100}, {0, 0}, 0}};
  Drawing d;
  d.Add(PathShape({open, closed}, kPenSolid, kBrushNull));
  Drawing back;
  ASSERT_TRUE(ReadPdf(PdfBytes(d), back));
  const std::vector<SubPath>& subs = back.GetShape(0)->path()->subPaths;
  ASSERT_EQ(subs.size(), 2u);
  EXPECT_TRUE(PointsEqual(subs[0].front().in, subs[0].front().anchor));
  EXPECT_NEAR(subs[0].front().out.x, 50, 1e-3);
  EXPECT_NEAR(subs[0].back().in.x, 100, 1e-3);
  EXPECT_TRUE(PointsEqual(subs[0].back().out, subs[0].back().anchor));
  ASSERT_EQ(subs[1].size(), 3u);
  EXPECT_NEAR(subs[1].front().in.x, 50, 1e-3);  // from the closing copy
  EXPECT_NEAR(subs[1].back().out.x, 50, 1e-3);  // from the first node
}

}  // namespace
}  // namespace zel

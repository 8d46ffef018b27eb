#include "platform/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/font_face.h"

namespace zel {
namespace {

std::shared_ptr<Font> OpenFont(std::u16string_view face, int height, int weight = 400,
                               bool italic = false) {
  FontRequest r;
  r.faceName = face;
  r.height = height;
  r.weight = weight;
  r.italic = italic;
  return Font::Open(r);
}

bool IsDefaultSans(const Font& f) {
  return f.familyName() == "DejaVu Sans" || f.familyName() == "Liberation Sans";
}

TEST(Font, MatchesInstalledFacesAndStyles) {
  struct Case {
    const char16_t* face;
    int weight;
    bool italic;
    const char* family;
    const char* file;  // part of the file name
  } cases[] = {
      {u"DejaVu Sans", 400, false, "DejaVu Sans", "DejaVuSans.ttf"},
      {u"dejavu sans", 700, false, "DejaVu Sans", "DejaVuSans-Bold.ttf"},
      {u"DejaVu Sans", 400, true, "DejaVu Sans", "DejaVuSans-Oblique.ttf"},
      {u"Liberation Serif", 700, true, "Liberation Serif", "LiberationSerif-BoldItalic.ttf"},
      {u"Liberation Mono", 0, false, "Liberation Mono", "LiberationMono-Regular.ttf"},
      // Metric twins reached through fontconfig's aliases.
      {u"Arial", 400, false, "Liberation Sans", "LiberationSans-Regular.ttf"},
      {u"Courier New", 400, false, "Liberation Mono", "LiberationMono-Regular.ttf"},
  };
  for (const Case& c : cases) {
    auto f = OpenFont(c.face, -100, c.weight, c.italic);
    ASSERT_TRUE(f) << c.family;
    EXPECT_EQ(f->familyName(), c.family);
    EXPECT_NE(f->filePath().find(c.file), std::string::npos) << f->filePath();
    EXPECT_FALSE(f->syntheticBold()) << c.file;
    EXPECT_FALSE(f->syntheticItalic()) << c.file;
  }
}

TEST(Font, UnknownOrEmptyNameFallsBackToSans) {
  const std::u16string names[] = {u"No Such Face Zq", u"", u"\xD800" u"broken",
                                  std::u16string(u"Bad\0Name", 8)};
  for (const std::u16string& name : names) {
    auto f = OpenFont(name, -50);
    ASSERT_TRUE(f);
    EXPECT_TRUE(IsDefaultSans(*f)) << f->familyName();
    EXPECT_GT(f->Measure(u"abc").cx, 0);
  }
  auto bold = OpenFont(u"No Such Face Zq", -50, 700);
  ASSERT_TRUE(bold);
  EXPECT_TRUE(IsDefaultSans(*bold));
  EXPECT_GE(bold->face()->weight(), 600);
}

TEST(Font, FacesAreSharedBetweenSizes) {
  auto a = OpenFont(u"DejaVu Sans", -10);
  auto b = OpenFont(u"DejaVu Sans", -5000);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->face().get(), b->face().get());
  EXPECT_EQ(FontFace::Load(a->filePath(), 0).get(), a->face().get());
  EXPECT_EQ(FontFace::Load("/nonexistent/font.ttf", 0), nullptr);
}

TEST(Font, EmAndCellHeights) {
  // DejaVu Sans: 2048 units per em, winAscent 1901, winDescent 483.
  auto em = OpenFont(u"DejaVu Sans", -2048);
  ASSERT_TRUE(em);
  EXPECT_EQ(em->emHeight(), 2048);
  EXPECT_EQ(em->ascent(), 1901);
  EXPECT_EQ(em->descent(), 483);
  EXPECT_EQ(em->height(), 2384);

  // A positive height is the whole cell.
  for (int h : {1, 2, 7, 100, 2384, 99999}) {
    auto cell = OpenFont(u"DejaVu Sans", h);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->height(), h);
    EXPECT_NEAR(cell->emHeight(), h * 2048.0 / 2384.0, 1.0);
  }

  // The cell comes from the OS/2 table, not hhea: this face's hhea says
  // 792/208 per 1000 units, its Windows metrics 2408/1858.
  auto math = OpenFont(u"DejaVu Math TeX Gyre", -1000);
  ASSERT_TRUE(math);
  ASSERT_EQ(math->familyName(), "DejaVu Math TeX Gyre");
  EXPECT_EQ(math->ascent(), 2408);
  EXPECT_EQ(math->descent(), 1858);

  auto deflt = OpenFont(u"DejaVu Sans", 0);
  ASSERT_TRUE(deflt);
  EXPECT_GT(deflt->height(), 0);
}

TEST(Font, MetricsScaleLinearlyWithSize) {
  const std::u16string text = u"The quick brown fox, 0123!";
  for (const char16_t* face : {u"DejaVu Sans", u"Liberation Sans", u"Liberation Serif",
                               u"Liberation Mono"}) {
    auto ref = OpenFont(face, -100000);
    ASSERT_TRUE(ref);
    const TextExtent big = ref->Measure(text);
    EXPECT_GT(big.cx, 0);
    EXPECT_EQ(big.cy, ref->height());
    for (int size : {1, 3, 10, 71, 1000, 12345}) {
      auto f = OpenFont(face, -size);
      ASSERT_TRUE(f);
      const double k = size / 100000.0;
      // One rounding per metric.
      EXPECT_NEAR(f->ascent(), ref->ascent() * k, 1.0) << size;
      EXPECT_NEAR(f->descent(), ref->descent() * k, 1.0) << size;
      EXPECT_NEAR(f->Measure(text).cx, big.cx * k, 1.0) << size;
      EXPECT_NEAR(f->Advance(u'W'), ref->Advance(u'W') * k, 1e-6 * size);
    }
  }
  // Far beyond any hinted size FreeType would accept, and still consistent.
  auto huge = OpenFont(u"DejaVu Sans", -2000000000);
  ASSERT_TRUE(huge);
  EXPECT_GT(huge->height(), 0);
  EXPECT_GT(huge->Measure(text).cx, 0);
  auto neg = OpenFont(u"DejaVu Sans", -2147483647 - 1);
  ASSERT_TRUE(neg);
  EXPECT_GT(neg->height(), 0);
}

TEST(Font, MonospaceWidthIsAdvanceTimesLength) {
  auto f = OpenFont(u"Liberation Mono", -2048);
  ASSERT_TRUE(f);
  // Liberation Mono advances 1229 units per character.
  EXPECT_EQ(f->Measure(u"iiii").cx, 4 * 1229);
  EXPECT_EQ(f->Measure(u"WWWW").cx, 4 * 1229);
  EXPECT_EQ(f->Measure(u"").cx, 0);
  EXPECT_EQ(f->Measure(u"").cy, f->height());
}

TEST(Font, BoldMeasuresWiderThanRegular) {
  const std::u16string text = u"Bold measures wider";
  for (const char16_t* face : {u"DejaVu Sans", u"Liberation Sans", u"Liberation Serif",
                               u"No Such Face Zq"}) {
    auto regular = OpenFont(face, -200);
    auto bold = OpenFont(face, -200, 700);
    ASSERT_TRUE(regular && bold);
    EXPECT_GT(bold->Measure(text).cx, regular->Measure(text).cx);
  }
}

TEST(Font, MissingBoldAndItalicAreSimulated) {
  // The math face comes in one style only.
  auto regular = OpenFont(u"DejaVu Math TeX Gyre", -240);
  auto bold = OpenFont(u"DejaVu Math TeX Gyre", -240, 700, true);
  ASSERT_TRUE(regular && bold);
  ASSERT_EQ(bold->filePath(), regular->filePath());
  EXPECT_TRUE(bold->syntheticBold());
  EXPECT_TRUE(bold->syntheticItalic());
  EXPECT_DOUBLE_EQ(bold->boldStrength(), 10.0);
  EXPECT_EQ(bold->Measure(u"abcd").cx, regular->Measure(u"abcd").cx + 40);
}

TEST(Font, SurrogatePairIsOneCharacter) {
  auto f = OpenFont(u"DejaVu Sans", -2048);
  ASSERT_TRUE(f);
  const std::u16string pair = u"\U000F0001";  // private use, not in the face: one missing glyph
  ASSERT_EQ(pair.size(), 2u);
  const std::u16string swapped = {pair[1], pair[0]};  // two unpaired halves
  const int notdef = int(std::lround(f->Advance(0xFFFF0)));
  EXPECT_GT(notdef, 0);
  EXPECT_EQ(f->Measure(pair).cx, notdef);
  EXPECT_EQ(f->Measure(swapped).cx, 2 * notdef);
  EXPECT_EQ(f->Measure(u"a" + pair + u"b").cx,
            int(std::lround(f->Advance(u'a') + f->Advance(0xF0001) + f->Advance(u'b'))));
}

TEST(Font, FamiliesAreSortedAndUnique) {
  std::vector<std::string> families = FontFamilies();
  for (const char* name : {"DejaVu Sans", "DejaVu Serif", "Liberation Sans", "Liberation Mono"}) {
    EXPECT_NE(std::find(families.begin(), families.end(), name), families.end()) << name;
  }
  EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
  auto lower = [](std::string s) {
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return s;
  };
  for (size_t i = 1; i < families.size(); ++i) {
    EXPECT_LE(lower(families[i - 1]), lower(families[i]));
  }
}

}  // namespace
}  // namespace zel

// The document writer: object layout, page tree, operators, fonts, pictures
// and the group record, with every written file checked by qpdf.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "docformat/flate.h"
#include "docformat/page_tree.h"
#include "docformat/rgb_samples.h"
#include "pdf_test_util.h"

namespace zel {
namespace {

using namespace zel::testing;

size_t CountOf(const std::string& s, const std::string& part) {
  size_t n = 0;
  for (size_t at = s.find(part); at != std::string::npos; at = s.find(part, at + 1)) ++n;
  return n;
}

struct TreeCase {
  int pages;
  std::vector<int64_t> levels;
  int64_t objects;
  int64_t firstPage;
  int64_t firstContent;
};

void PrintTo(const TreeCase& c, std::ostream* os) { *os << c.pages << " pages"; }

class PageTreeTest : public ::testing::TestWithParam<TreeCase> {};

TEST_P(PageTreeTest, LaysOutBalancedTreeAndNumbersObjects) {
  const TreeCase& c = GetParam();
  const PageTree tree = PageTreeFor(c.pages);
  EXPECT_EQ(tree.levels, c.levels);
  EXPECT_EQ(tree.objects, c.objects);
  EXPECT_EQ(tree.PageObject(0), c.firstPage);
  EXPECT_EQ(tree.ContentObject(0), c.firstContent);

  Drawing d;
  d.SetPageCount(c.pages);
  for (int p = 0; p < c.pages; ++p) d.Add(TextShape(u"page", {0, 0}, kTextArtistic, {}, p));
  TempDir dir;
  const std::string path = dir / "tree.pdf";
  ASSERT_TRUE(SavePdf(path, d));
  EXPECT_TRUE(QpdfClean(path));
  const std::string pdf = ReadFileBytes(path);
  // The first font follows the last content stream.
  EXPECT_NE(pdf.find("\n" + std::to_string(c.firstContent + c.pages) + " 0 obj\r\n<< /Type /Font"),
            std::string::npos);
  if (HaveTool("qpdf")) {
    EXPECT_EQ(RunCommand("qpdf --show-npages " + Quote(path)).output, std::to_string(c.pages) + "\n");
  }
  Drawing back;
  ASSERT_TRUE(LoadPdf(path, back));
  EXPECT_EQ(back.PageCount(), c.pages);
  ASSERT_EQ(back.Count(), c.pages);
  for (int i = 0; i < c.pages; ++i) EXPECT_EQ(back.GetShape(i)->pageIndex, i);
}

INSTANTIATE_TEST_SUITE_P(Pages, PageTreeTest,
                         ::testing::Values(TreeCase{1, {1, 1}, 2, 4, 5}, TreeCase{6, {1, 6}, 7, 4, 10},
                                           TreeCase{7, {1, 2, 7}, 10, 6, 13},
                                           TreeCase{12, {1, 2, 12}, 15, 6, 18},
                                           TreeCase{40, {1, 2, 7, 40}, 50, 13, 53}),
                         [](const ::testing::TestParamInfo<TreeCase>& i) {
                           return std::to_string(i.param.pages) + "Pages";
                         });

TEST(PdfWriterTest, IntermediateNodesHoldSixKidsAndTheirPageCounts) {
  Drawing d;
  d.SetPageCount(7);
  const std::string pdf = PdfBytes(d);
  EXPECT_NE(pdf.find("3 0 obj\r\n<< /Type /Pages\r\n/Kids [4 0 R\r\n\t5 0 R]\r\n/Count 7\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("4 0 obj\r\n<< /Type /Pages\r\n/Parent 3 0 R\r\n/Kids [6 0 R\r\n\t7 0 R\r\n\t8 0 R\r\n\t9 0 R"
                     "\r\n\t10 0 R\r\n\t11 0 R]\r\n/Count 6\r\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("5 0 obj\r\n<< /Type /Pages\r\n/Parent 3 0 R\r\n/Kids [12 0 R]\r\n/Count 1\r\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("12 0 obj\r\n<< /Type /Page\r\n/Parent 5 0 R\r\n"), std::string::npos);
}

TEST(PdfWriterTest, HeaderTrailerAndOffsetsMatchTheBytes) {
  Drawing d;
  d.Add(PathShape({Contour({{0, 0}, {100, 0}, {100, 100}}, true)}));
  const std::string pdf = PdfBytes(d);
  EXPECT_EQ(pdf.rfind("%PDF-1.3\r\n%Created by Orvane Draw\r\n1 0 obj\r\n", 0), 0u);
  ASSERT_GE(pdf.size(), 7u);
  EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");
  // No groups: objects 1..5 and a Size one above the last object.
  EXPECT_EQ(pdf.find("%OVGroups"), std::string::npos);
  EXPECT_NE(pdf.find("<< /Size 6\r\n/Root 1 0 R\r\n>>"), std::string::npos);
  // Every entry of the table points at its object.
  const size_t xref = pdf.rfind("xref\r\n0 6\r\n0000000000 65535 f\r\n");
  ASSERT_NE(xref, std::string::npos);
  for (int k = 1; k <= 5; ++k) {
    const size_t offset = std::stoul(pdf.substr(xref + 31 + size_t(k - 1) * 20, 10));
    EXPECT_EQ(pdf.substr(offset, std::to_string(k).size() + 6), std::to_string(k) + " 0 obj") << k;
  }
  EXPECT_NE(pdf.find("startxref\r\n" + std::to_string(xref) + "\r\n%%EOF"), std::string::npos);
}

struct PaintCase {
  int pen;
  int brush;
  bool closed;
  const char* op;
};

void PrintTo(const PaintCase& c, std::ostream* os) { *os << c.op; }

class PaintOperatorTest : public ::testing::TestWithParam<PaintCase> {};

TEST_P(PaintOperatorTest, PicksTheOperatorOfStrokeFillAndClosing) {
  const PaintCase& c = GetParam();
  Drawing d;
  d.Add(PathShape({Contour({{0, 0}, {100, 0}, {100, 100}}, c.closed)}, c.pen, c.brush));
  const std::string content = PageContent(PdfBytes(d), 1, 0);
  EXPECT_NE(content.find(std::string("\r\n") + c.op + "\r\n"), std::string::npos) << content;
  Drawing back;
  ASSERT_TRUE(ReadPdf(PdfBytes(d), back));
  ASSERT_EQ(back.Count(), 1);
  const PathContent* path = back.GetShape(0)->path();
  EXPECT_EQ(path->penStyle, c.pen);
  EXPECT_EQ(path->brushStyle, c.brush);
  // A closed contour keeps exactly its closing node: no duplicate is added.
  EXPECT_EQ(path->subPaths[0].size(), c.closed ? 4u : 3u);
}

INSTANTIATE_TEST_SUITE_P(Operators, PaintOperatorTest,
                         ::testing::Values(PaintCase{kPenSolid, kBrushSolid, true, "b*"},
                                           PaintCase{kPenSolid, kBrushSolid, false, "B*"},
                                           PaintCase{kPenNull, kBrushSolid, true, "f*"},
                                           PaintCase{kPenSolid, kBrushNull, true, "s"},
                                           PaintCase{kPenSolid, kBrushNull, false, "S"},
                                           PaintCase{kPenNull, kBrushNull, true, "n"}),
                         [](const ::testing::TestParamInfo<PaintCase>& i) {
                           std::string name = std::string(i.param.pen == kPenNull ? "NoLine" : "Line") +
                                              (i.param.brush == kBrushNull ? "NoFill" : "Fill") +
                                              (i.param.closed ? "Closed" : "Open");
                           return name;
                         });

TEST(PdfWriterTest, MixedPathKeepsItsOpenContourOpen) {
  Drawing d;
  d.Add(PathShape({Contour({{0, 0}, {100, 0}, {100, 100}}, true), Contour({{200, 0}, {300, 0}, {300, 100}}, false)},
                  kPenSolid, kBrushNull));
  const std::string pdf = PdfBytes(d);
  EXPECT_NE(PageContent(pdf, 1, 0).find("\r\nS\r\n"), std::string::npos);
  Drawing back;
  ASSERT_TRUE(ReadPdf(pdf, back));
  const PathContent* path = back.GetShape(0)->path();
  ASSERT_EQ(path->subPaths.size(), 2u);
  EXPECT_EQ(path->subPaths[0].size(), 4u);
  EXPECT_EQ(path->subPaths[1].size(), 3u);
  EXPECT_FALSE(IsClosed(path->subPaths[1]));
}

TEST(PdfWriterTest, ClosedCurveSurvivesRepeatedSavesWithoutGrowing) {
  Drawing d;
  d.Add(MakeEllipse({-200, 200, -100, 100}));
  std::string pdf = PdfBytes(d);
  for (int round = 0; round < 3; ++round) {
    Drawing back;
    ASSERT_TRUE(ReadPdf(pdf, back));
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.GetShape(0)->path()->subPaths[0].size(), d.GetShape(0)->path()->subPaths[0].size());
    pdf = PdfBytes(back);
  }
}

TEST(PdfWriterTest, EmptyPageWritesAnEmptyStream) {
  Drawing d;
  d.SetPageCount(2);
  d.Add(PathShape({Contour({{0, 0}, {100, 0}}, false)}, kPenSolid, kBrushNull, 1));
  TempDir dir;
  const std::string path = dir / "empty.pdf";
  ASSERT_TRUE(SavePdf(path, d));
  EXPECT_TRUE(QpdfClean(path));
  EXPECT_NE(ReadFileBytes(path).find("6 0 obj\r\n<< /Length 0\r\n>>\r\nstream\r\nendstream"), std::string::npos);
  Drawing back;
  ASSERT_TRUE(LoadPdf(path, back));
  EXPECT_EQ(back.PageCount(), 2);
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back.GetShape(0)->pageIndex, 1);
}

// Page content and the group record used to be compressed into a fixed
// 40,000-byte buffer: a larger page was silently lost.
TEST(PdfWriterTest, LargePageAndGroupRecordAreWrittenWhole) {
  Drawing d;
  const int n = 6000;
  for (int i = 0; i < n; ++i) {
    auto s = PathShape({Contour({{float(i % 97), float(i)}, {float(i % 89) + 50, float(i) + 3},
                                 {float(i % 83), float(i) + 7}},
                                true)});
    s->fillColor = ColorRef(i * 2654435761u) & 0xFFFFFF;
    s->groupId = i / 2 + 1;
    d.Add(std::move(s));
  }
  TempDir dir;
  const std::string path = dir / "large.pdf";
  ASSERT_TRUE(SavePdf(path, d));
  EXPECT_TRUE(QpdfClean(path));
  const std::string pdf = ReadFileBytes(path);
  const size_t length = std::stoul(pdf.substr(pdf.find("5 0 obj\r\n<< /Length ") + 20, 12));
  EXPECT_GT(length, 40000u);
  Drawing back;
  ASSERT_TRUE(LoadPdf(path, back));
  ASSERT_EQ(back.Count(), n);
  EXPECT_EQ(back.GetShape(n - 1)->fillColor, d.GetShape(n - 1)->fillColor);
  EXPECT_EQ(back.GetShape(n - 1)->groupId, n / 2);
  EXPECT_EQ(back.GetShape(n - 2)->groupId, n / 2);
}

// Palette, 16- and 32-bit pictures used to be skipped while still numbered:
// the cross-reference table broke and pictures moved to other shapes.
TEST(PdfWriterTest, WritesOneImageObjectPerImageShapeOfAnyDepth) {
  auto palette = [](int bits, int w, int h) {
    DibImage dib;
    dib.header.width = w;
    dib.header.height = h;
    dib.header.bitCount = uint16_t(bits);
    for (int i = 0; i < (1 << bits); ++i) dib.colors.push_back(uint32_t(i * 0x010203 + 0x402010));
    dib.bits.assign(size_t(DibImage::Stride(w, bits)) * size_t(h), 0);
    for (size_t i = 0; i < dib.bits.size(); ++i) dib.bits[i] = uint8_t(i * 37 + 11);
    return dib;
  };
  auto fields = [](int bits, int w, int h, bool bitfields) {
    DibImage dib;
    dib.header.width = w;
    dib.header.height = -h;  // top-down rows
    dib.header.bitCount = uint16_t(bits);
    if (bitfields) {
      dib.header.compression = kBiBitfields;
      dib.colors = bits == 16 ? std::vector<uint32_t>{0xF800, 0x07E0, 0x001F}
                              : std::vector<uint32_t>{0x00FF0000, 0x0000FF00, 0x000000FF};
    }
    dib.bits.assign(size_t(DibImage::Stride(w, bits)) * size_t(h), 0);
    for (size_t i = 0; i < dib.bits.size(); ++i) dib.bits[i] = uint8_t(i * 53 + 7);
    return dib;
  };
  std::vector<DibImage> pictures;
  pictures.push_back(palette(1, 9, 3));
  pictures.push_back(palette(4, 7, 5));
  pictures.push_back(palette(8, 5, 4));
  pictures.push_back(fields(16, 3, 6, false));
  pictures.push_back(fields(16, 4, 2, true));
  pictures.push_back(fields(32, 3, 3, false));
  pictures.push_back(fields(32, 2, 5, true));
  pictures.push_back(DibImage{});  // no pixels: cannot be drawn
  pictures.push_back(Picture24(1, 7));
  pictures.push_back(Picture24(7, 1));

  Drawing d;
  for (size_t i = 0; i < pictures.size(); ++i) {
    const float x = float(i) * 100 - 500;
    d.Add(ImageShape(pictures[i], {x, x + 80, -100, 0}));
  }
  TempDir dir;
  const std::string path = dir / "pictures.pdf";
  ASSERT_TRUE(SavePdf(path, d));
  EXPECT_TRUE(QpdfClean(path));
  const std::string pdf = ReadFileBytes(path);
  EXPECT_EQ(CountOf(pdf, "/Subtype /Image"), pictures.size());

  Drawing back;
  ASSERT_TRUE(LoadPdf(path, back));
  ASSERT_EQ(back.Count(), int(pictures.size()));
  for (size_t i = 0; i < pictures.size(); ++i) {
    SCOPED_TRACE(i);
    const ImageContent* image = back.GetShape(int(i))->image();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->dib.header.bitCount, 24);
    std::string expected, got;
    int w, h, bw, bh;
    if (!DibToRgb(pictures[i], &expected, &w, &h)) {
      expected.assign(3, char(0xFF));  // one white pixel stands in
      w = h = 1;
    }
    ASSERT_TRUE(DibToRgb(image->dib, &got, &bw, &bh));
    EXPECT_EQ(bw, w);
    EXPECT_EQ(bh, h);
    EXPECT_EQ(got, expected);
    EXPECT_NEAR(image->placement.xmin, float(i) * 100 - 500, 1e-3);
  }
}

// A Page object listing many pictures runs past a kilobyte, which used to
// end the search for the next page: its pages and shapes were lost.
TEST(PdfWriterTest, PageWithManyPicturesKeepsTheFollowingPages) {
  Drawing d;
  d.SetPageCount(3);
  for (int i = 0; i < 120; ++i) d.Add(ImageShape(Picture24(1, 1), {float(i), float(i) + 5, 0, 5}));
  d.Add(PathShape({Contour({{0, 0}, {100, 100}}, false)}, kPenSolid, kBrushNull, 2));
  Drawing back;
  ASSERT_TRUE(ReadPdf(PdfBytes(d), back));
  EXPECT_EQ(back.PageCount(), 3);
  ASSERT_EQ(back.Count(), 121);
  EXPECT_EQ(back.GetShape(120)->pageIndex, 2);
}

TEST(PdfWriterTest, MirroredPictureKeepsItsSense) {
  Drawing d;
  d.Add(ImageShape(Picture24(5, 3), {300, -300, 200, -100}));
  Drawing back;
  ASSERT_TRUE(ReadPdf(PdfBytes(d), back));
  ASSERT_EQ(back.Count(), 1);
  const RectF p = back.GetShape(0)->image()->placement;
  EXPECT_NEAR(p.xmin, 300, 1e-3);
  EXPECT_NEAR(p.xmax, -300, 1e-3);
  EXPECT_NEAR(p.ymin, 200, 1e-3);
  EXPECT_NEAR(p.ymax, -100, 1e-3);
}

TEST(PdfWriterTest, TextStringsAreEscapedAndLineBreakBytesBecomeQuestionMarks) {
  Drawing d;
  // U+010A and U+0100 have the low bytes LF and NUL.
  d.Add(TextShape(u"a(b)c\\d \u010A\u0100\re", {0, 0}));
  d.Add(TextShape(u"((unbalanced", {0, 100}));
  TempDir dir;
  const std::string path = dir / "escape.pdf";
  ASSERT_TRUE(SavePdf(path, d));
  EXPECT_TRUE(QpdfClean(path));
  const std::string content = PageContent(ReadFileBytes(path), 1, 0);
  EXPECT_NE(content.find("(a\\(b\\)c\\\\d ???e) Tj\r\n"), std::string::npos) << content;
  Drawing back;
  ASSERT_TRUE(LoadPdf(path, back));
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.GetShape(0)->text()->text, u"a(b)c\\d ???e");
  EXPECT_EQ(back.GetShape(1)->text()->text, u"((unbalanced");
}

TEST(PdfWriterTest, CharactersAboveLatin1AreWrittenAsTheirLowByte) {
  Drawing d;
  d.Add(TextShape(u"\u0141\u00e9", {0, 0}));  // L with stroke: low byte 0x41 'A'
  Drawing back;
  ASSERT_TRUE(ReadPdf(PdfBytes(d), back));
  EXPECT_EQ(back.GetShape(0)->text()->text, u"A\u00e9");
}

TEST(PdfWriterTest, FontsAreListedOncePerNameAndStyle) {
  Drawing d;
  auto text = [&](const char16_t* face, uint32_t style) {
    auto s = TextShape(u"x", {0, 0});
    s->text()->faceName = face;
    s->text()->styleBits = style;
    d.Add(std::move(s));
  };
  text(u"Liberation Sans", 0);
  text(u"liberation sans", 0);  // same font: names compare without case
  text(u"Liberation Sans", kTextBold);
  text(u"Liberation Serif", kTextBold | kTextItalic);
  text(u"Liberation Mono", kTextItalic | kTextUnderline);
  const std::string pdf = PdfBytes(d);
  EXPECT_EQ(CountOf(pdf, "/Type /Font\r\n"), 4u);
  EXPECT_NE(pdf.find("/BaseFont /LiberationSans\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/BaseFont /LiberationSans,Bold\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/BaseFont /LiberationSerif,BoldItalic\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/BaseFont /LiberationMono,Italic\r\n"), std::string::npos);
  // 224 widths, the first (space) of a sans face a quarter of an em or so.
  const size_t widths = pdf.find("7 0 obj\r\n[");
  ASSERT_NE(widths, std::string::npos);
  const int space = std::stoi(pdf.substr(widths + 10, 6));
  EXPECT_GT(space, 200);
  EXPECT_LT(space, 350);

  Drawing back;
  ASSERT_TRUE(ReadPdf(pdf, back));
  ASSERT_EQ(back.Count(), 5);
  EXPECT_EQ(back.GetShape(2)->text()->styleBits, kTextBold);
  EXPECT_EQ(back.GetShape(3)->text()->faceName, u"Liberation Serif");
  EXPECT_EQ(back.GetShape(3)->text()->styleBits, kTextBold | kTextItalic);
  EXPECT_EQ(back.GetShape(4)->text()->styleBits, kTextItalic | kTextUnderline);
}

TEST(PdfWriterTest, UnderlinePathIsNotReadAsAShape) {
  Drawing d;
  auto t = TextShape(u"under\r\nlined", {0, 0});
  t->text()->styleBits = kTextUnderline;
  d.Add(std::move(t));
  auto empty = TextShape(u"", {0, 200});
  empty->text()->styleBits = kTextUnderline;
  d.Add(std::move(empty));
  d.Add(PathShape({Contour({{0, 0}, {100, 0}}, false)}, kPenSolid, kBrushNull));
  const std::string pdf = PdfBytes(d);
  EXPECT_EQ(CountOf(PageContent(pdf, 1, 0), "%Underline"), 2u);
  Drawing back;
  ASSERT_TRUE(ReadPdf(pdf, back));
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.GetShape(0)->text()->text, u"under\r\nlined");
  EXPECT_EQ(back.GetShape(1)->text()->text, u"");
  // The path after an underlined text without lines is kept.
  EXPECT_NE(back.GetShape(2)->path(), nullptr);
}

// Paragraph text past the bottom of its box used to be left out of the file
// and was gone after reopening. Its lines are written invisible.
TEST(PdfWriterTest, OverflowingParagraphIsWrittenWhole) {
  Drawing d;
  const std::u16string text = u"one two three four five six seven eight nine ten eleven twelve";
  d.Add(TextShape(text, {0, 0}, kTextParagraph, {250, 100}));
  d.Add(TextShape(u"after", {0, 300}));
  const std::string pdf = PdfBytes(d);
  const std::string content = PageContent(pdf, 1, 0);
  const size_t hidden = content.find("3 Tr\r\n");
  const size_t shown = content.find("0 Tr\r\n");
  ASSERT_NE(hidden, std::string::npos) << content;
  ASSERT_NE(shown, std::string::npos);
  EXPECT_LT(content.find("(one "), hidden);
  EXPECT_LT(hidden, content.find("twelve"));
  // The next text is visible again.
  EXPECT_LT(shown, content.find("(after)"));
  Drawing back;
  ASSERT_TRUE(ReadPdf(pdf, back));
  EXPECT_EQ(back.GetShape(0)->text()->text, text);
}

TEST(PdfWriterTest, DeterministicModeIsReproducibleAndReadable) {
  Drawing d;
  d.Add(PathShape({Contour({{0, 0}, {100, 0}, {100, 100}}, true)}));
  d.Add(TextShape(u"words", {0, 100}));
  d.Add(ImageShape(Picture24(300, 300), {-400, -100, -400, -100}));
  d.GetShape(0)->groupId = d.GetShape(1)->groupId = 1;
  const std::string a = PdfBytes(d, true), b = PdfBytes(d, true);
  EXPECT_EQ(a, b);
  // Stored blocks: the page content is readable in the file itself.
  EXPECT_NE(a.find(" m\r\n"), std::string::npos);
  TempDir dir;
  WriteFileBytes(dir / "det.pdf", a);
  EXPECT_TRUE(QpdfClean(dir / "det.pdf"));
  Drawing back;
  ASSERT_TRUE(ReadPdf(a, back));
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.GetShape(1)->groupId, 1);
  EXPECT_EQ(back.GetShape(2)->image()->dib.bits, d.GetShape(2)->image()->dib.bits);
}

TEST(FlateTest, BothModesRoundTripLargeData) {
  std::string data;
  for (int i = 0; i < 300000; ++i) data += char(i * 7 % 251);
  for (FlateMode mode : {FlateMode::kCompress, FlateMode::kStored}) {
    std::string packed, back;
    ASSERT_TRUE(Deflate(data, mode, &packed));
    ASSERT_EQ(Inflate(packed, data.size(), &back), InflateResult::kOk);
    EXPECT_EQ(back, data);
    // One byte too little room, or one byte of data too few.
    EXPECT_EQ(Inflate(packed, data.size() - 1, &back), InflateResult::kTooLarge);
    EXPECT_EQ(Inflate(packed.substr(0, packed.size() - 5), data.size(), &back), InflateResult::kCorrupt);
    EXPECT_TRUE(back.empty());
  }
}

TEST(PdfWriterTest, SaveFailsWhenTheFileCannotBeCreated) {
  Drawing d;
  EXPECT_FALSE(SavePdf("/nonexistent-folder/x.pdf", d));
}

}  // namespace
}  // namespace zel

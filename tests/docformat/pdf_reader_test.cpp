// The document reader on files of older writers, on files of other
// producers, and on damaged, truncated and hostile input.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf_test_util.h"
#include "platform/utf16.h"

namespace zel {
namespace {

using namespace zel::testing;

// Lays out a document as the writer does (up to six pages), with whatever
// page contents and further objects a test needs, uncompressed unless the
// test compresses them itself.
class OwnFile {
 public:
  explicit OwnFile(int pages, int64_t declaredPages = -1) {
    bytes_ = "%PDF-1.3\r\n%Created by Orvane Draw\r\n";
    Add("<< /Type /Catalog\r\n/Outlines 2 0 R\r\n/Pages 3 0 R\r\n>>\r\n");
    Add("<< /Type /Outlines\r\n/Count 0\r\n>>\r\n");
    std::string kids;
    for (int p = 0; p < pages; ++p) kids += (p ? "\r\n\t" : "") + std::to_string(4 + p) + " 0 R";
    Add("<< /Type /Pages\r\n/Kids [" + kids + "]\r\n/Count " + std::to_string(declaredPages < 0 ? pages : declaredPages) + "\r\n>>\r\n");
    for (int p = 0; p < pages; ++p) {
      Add("<< /Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 297.6384 419.5284]\r\n/Contents " +
          std::to_string(4 + pages + p) + " 0 R\r\n/Resources << /ProcSet [/PDF /Text]\r\n>>\r\n>>\r\n");
    }
  }
  // Objects are numbered in the order they are added.
  void Add(const std::string& body, const std::string& prefix = "") {
    offsets_.push_back(bytes_.size());
    bytes_ += prefix + std::to_string(offsets_.size()) + " 0 obj\r\n" + body + "endobj\r\n";
  }
  void Stream(const std::string& data, const std::string& dictionary = "", const std::string& prefix = "") {
    Add("<< /Length " + std::to_string(data.size()) + "\r\n" + dictionary + ">>\r\nstream\r\n" + data +
            "endstream\r\n",
        prefix);
  }
  std::string Finish() const {
    std::string s = bytes_;
    const size_t xref = s.size();
    s += "xref\r\n0 " + std::to_string(offsets_.size() + 1) + "\r\n0000000000 65535 f\r\n";
    for (size_t o : offsets_) {
      std::string n = std::to_string(o);
      s += std::string(10 - n.size(), '0') + n + " 00000 n\r\n";
    }
    s += "trailer\r\n<< /Size " + std::to_string(offsets_.size() + 1) + "\r\n/Root 1 0 R\r\n>>\r\nstartxref\r\n" +
         std::to_string(xref) + "\r\n%%EOF\r\n";
    return s;
  }

 private:
  std::string bytes_;
  std::vector<size_t> offsets_;
};

std::string OnePage(const std::string& content, const std::string& after = "") {
  OwnFile f(1);
  f.Stream(content);
  if (!after.empty()) f.Add(after);
  return f.Finish();
}

// A drawing with one of everything, for the damage tests.
Drawing& Everything() {
  static Drawing d;
  if (d.Count() == 0) {
    d.SetPageCount(2);
    d.Add(PathShape({Contour({{0, 0}, {100, 0}, {100, 100}}, true)}));
    d.Add(TextShape(u"Text (1)", {-300, -300}));
    d.Add(TextShape(u"A paragraph of words", {-300, 0}, kTextParagraph, {0, 300}, 1));
    d.Add(ImageShape(Picture24(4, 3), {100, 200, 100, 200}, 1));
    d.GetShape(0)->groupId = d.GetShape(1)->groupId = 1;
  }
  return d;
}

TEST(PdfReaderTest, RefusesDocumentsOfOtherProducers) {
  const std::string foreign =
      "%PDF-1.4\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n2 0 obj\n<< /Type /Pages /Kids [] /Count 0 >>"
      "\nendobj\nxref\n0 3\n0000000000 65535 f \n0000000009 00000 n \n0000000058 00000 n \ntrailer\n<< /Size 3 "
      "/Root 1 0 R >>\nstartxref\n110\n%%EOF\n";
  // The creator comment must start within the first hundred bytes.
  const std::string late = "%PDF-1.3\r\n%" + std::string(100, 'x') + "\r\n%Created by Orvane Draw\r\n";
  for (const std::string& bytes : {foreign, late}) {
    Drawing d;
    d.Add(PathShape({Contour({{0, 0}, {1, 1}}, false)}));
    EXPECT_FALSE(ReadPdf(bytes, d));
    EXPECT_EQ(d.LastError(), kNotOurDocument);
    EXPECT_EQ(d.Count(), 0);
  }
}

TEST(PdfReaderTest, RefusesOurDocumentRewrittenByAnotherProgram) {
  if (!HaveTool("qpdf")) return;
  TempDir dir;
  ASSERT_TRUE(SavePdf(dir / "ours.pdf", Everything()));
  ASSERT_EQ(RunCommand("qpdf " + Quote(dir / "ours.pdf") + " " + Quote(dir / "theirs.pdf")).status, 0);
  Drawing d;
  EXPECT_FALSE(LoadPdf(dir / "theirs.pdf", d));
  EXPECT_EQ(d.LastError(), kNotOurDocument);
}

TEST(PdfReaderTest, ReadsTheFormsOlderWritersProduce) {
  OwnFile f(3);
  // Pages 1 and 3 empty, the first in the compressed form of no bytes.
  f.Add("<< /Length 0\r\n/Filter [/FlateDecode ]>>\r\nstream\r\nendstream\r\n");
  // A path without a line: older files write no stroke colour for it. A
  // paragraph box of four nodes. A text line without its parentheses.
  f.Stream(
      "0.500000 0.000000 1.000000 rg\r\n10.000000 300.000000 m\r\n50.000000 300.000000 l\r\n"
      "50.000000 250.000000 l\r\n10.000000 300.000000 l\r\nf*\r\n"
      "/InPathText<</Matrix [1.0000 0.0000 0.0000 1.0000 20.0000 300.0000]/Vertical false >> BDC\r\n"
      "20.0000 320.0000 m\r\n120.0000 320.0000 l\r\n120.0000 270.0000 l\r\n20.0000 270.0000 l\r\nh\r\nn\r\n"
      "/Pgf BMC\r\n/PgfFormat<</Alignment 2 >> DP\r\nBT\r\n0.000000 0.000000 0.000000 rg\r\n/F13 20.00 Tf\r\n"
      "1.0000 0.0000 -0.0000 1.0000 20.0000 300.0000 Tm\r\n0 0 Td\r\n(Box) Tj\r\nEMC\r\n/Pgf BMC\r\n"
      "0.0000 -24.0 Td\r\nno parentheses Tj\r\nET\r\nEMC\r\nEMC\r\n");
  f.Stream("");
  // The group record uncompressed.
  f.Add("%OV Begin Groups 3\r\n%OV 2\r\n%OV 0\r\n%OV 1\r\n%OV End Groups\r\n", "%OVGroups\r\n");
  Drawing d;
  ASSERT_TRUE(ReadPdf(f.Finish(), d)) << ToUtf8(d.LastError());
  EXPECT_EQ(d.PageCount(), 3);
  EXPECT_NEAR(d.GetPageSize().width, 1050.0, 0.01);
  EXPECT_NEAR(d.GetPageSize().height, 1480.0, 0.01);
  ASSERT_EQ(d.Count(), 2);
  const Shape* path = d.GetShape(0);
  EXPECT_EQ(path->pageIndex, 1);
  EXPECT_EQ(path->path()->penStyle, kPenNull);
  EXPECT_EQ(path->path()->penColor, MakeColor(128, 0, 255));  // the fill colour, 0.5 rounded up
  EXPECT_EQ(path->fillColor, MakeColor(128, 0, 255));
  EXPECT_EQ(path->path()->subPaths[0].size(), 4u);
  const TextContent* text = d.GetShape(1)->text();
  EXPECT_EQ(text->text, u"Box\r\n");
  EXPECT_EQ(text->alignment, kAlignCenter);
  EXPECT_TRUE(text->paragraph());
  // The box in model units: x = 3.52777 x - W/2, y = H/2 - 3.52777 y.
  EXPECT_NEAR(text->anchor.x, 20 * kPointsToModel - 525, 0.01);
  EXPECT_NEAR(text->anchor.y, 740 - 320 * kPointsToModel, 0.01);
  EXPECT_NEAR(text->corner.x, 120 * kPointsToModel - 525, 0.01);
  EXPECT_NEAR(text->corner.y, 740 - 270 * kPointsToModel, 0.01);
  EXPECT_EQ(d.GetShape(0)->groupId, 1);
  EXPECT_EQ(d.GetShape(1)->groupId, 1);
}

// Colour components used to be truncated: 117 of the 256 values came back
// one lower, the default colours among them.
TEST(PdfReaderTest, EveryColourComponentComesBackAsWritten) {
  Drawing d;
  for (int v = 0; v < 256; ++v) {
    auto s = PathShape({Contour({{0, 0}, {10, 10}}, false)});
    s->path()->penColor = MakeColor(v, 255 - v, v / 2);
    s->fillColor = MakeColor(255 - v, v, 0xCE);
    d.Add(std::move(s));
  }
  Drawing back;
  ASSERT_TRUE(ReadPdf(PdfBytes(d), back));
  ASSERT_EQ(back.Count(), 256);
  for (int v = 0; v < 256; ++v) {
    EXPECT_EQ(back.GetShape(v)->path()->penColor, d.GetShape(v)->path()->penColor) << v;
    EXPECT_EQ(back.GetShape(v)->fillColor, d.GetShape(v)->fillColor) << v;
  }
}

struct HostileCase {
  const char* name;
  std::string bytes;
  bool loads;                 // true: loads with what it can
  const char16_t* message;    // part of the message when it does not
};

std::vector<HostileCase> HostileCases() {
  std::vector<HostileCase> cases;
  {
    OwnFile f(1);
    f.Add("<< /Length 99999999\r\n/Filter [/FlateDecode ]>>\r\nstream\r\nxx\r\nendstream\r\n");
    cases.push_back({"length-past-end", f.Finish(), false, u"runs past the end"});
  }
  {
    OwnFile f(1);
    f.Add("<< /Length 5\r\n/Filter [/FlateDecode ]>>\r\nstream\r\nxxxxx\r\nendstream\r\n");
    cases.push_back({"content-not-zlib", f.Finish(), false, u"cannot be decompressed"});
  }
  {
    std::string s = OnePage("");
    const size_t entry = s.find(" 00000 n", s.find("xref")) - 10;
    s.replace(entry, 10, "0099999999");
    cases.push_back({"xref-offset-past-end", s, false, u"cross-reference"});
  }
  {
    OwnFile f(1, 2000000000);
    f.Stream("");
    const std::string s = f.Finish();
    cases.push_back({"page-count-beyond-objects", s, false, u"fewer objects than pages"});
  }
  {
    std::string s = OnePage("");
    s.replace(s.rfind("startxref\r\n") + 11, 1, "9");
    cases.push_back({"startxref-past-end", s, false, u"cross-reference"});
  }
  cases.push_back({"startxref-in-short-file", "%PDF-1.3\r\n%Created by Orvane Draw\r\nstartxref\r\n0\r\n", false,
                   u"cross-reference"});
  cases.push_back({"creator-only", "%PDF-1.3\r\n%Created by Orvane Draw", false, u"cross-reference"});
  {
    // A picture whose width times height times 3 overflows 32 bits.
    OwnFile f(1);
    f.Stream("q\r\n100.000000 0 0 100.000000 0.000000 0.000000 cm\r\n/Im6 Do\r\nQ\r\n");
    f.Stream("xyz", "/Type /XObject\r\n/Subtype /Image\r\n/Width 65536\r\n/Height 65536\r\n");
    cases.push_back({"width-times-height-overflow", f.Finish(), true, nullptr});
  }
  {
    OwnFile f(1);
    f.Stream("q\r\n100.000000 0 0 100.000000 0.000000 0.000000 cm\r\n/Im6 Do\r\nQ\r\n");
    std::string packed;
    EXPECT_TRUE(Deflate(std::string(1000, 'x'), FlateMode::kCompress, &packed));
    f.Stream(packed, "/Filter [/FlateDecode ]\r\n/Width 2\r\n/Height 2\r\n");
    cases.push_back({"image-data-longer-than-picture", f.Finish(), true, nullptr});
  }
  {
    OwnFile f(1);
    f.Stream("q\r\n1 0 0 1 0 0 cm\r\n/Im999999999999 Do\r\n/Im-5 Do\r\n/Im Do\r\nQ\r\n");
    cases.push_back({"image-object-out-of-range", f.Finish(), true, nullptr});
  }
  cases.push_back({"malformed-operator-lines",
                   OnePage("1 2 m\r\n1 2 3 l\r\nx y l\r\nnan 4 l\r\n1e999 5 c\r\n3 4 5 rg\r\n-7 w\r\nw\r\n"
                           "/PointText<<>> BDC\r\n/F99999999999999999999 7 Tf\r\n/F13 Tf\r\n) ( Tj\r\n(( Tj\r\n"
                           "1 2 Tm\r\nTd\r\nET\r\nb*\r\nh\r\nS\r\n"),
                   true, nullptr});
  {
    // A group record that cannot be inflated is no group record.
    OwnFile f(1);
    f.Stream("");
    f.Stream("abc", "/Filter [/FlateDecode ]", "%OVGroups\r\n");
    cases.push_back({"groups-not-zlib", f.Finish(), true, nullptr});
  }
  return cases;
}

TEST(PdfReaderTest, HostileInputFailsWithAMessageOrLoadsWhatItCan) {
  for (const HostileCase& c : HostileCases()) {
    SCOPED_TRACE(c.name);
    Drawing d;
    const bool ok = ReadPdf(c.bytes, d);
    EXPECT_EQ(ok, c.loads) << ToUtf8(d.LastError());
    if (!ok) {
      EXPECT_NE(d.LastError().find(c.message), std::u16string::npos) << ToUtf8(d.LastError());
    }
    EXPECT_GE(d.PageCount(), 1);
  }
}

TEST(PdfReaderTest, EveryTruncationOfAnOwnFileFailsCleanlyOrLoads) {
  const std::string pdf = PdfBytes(Everything());
  size_t loaded = 0;
  for (size_t n = 1; n < pdf.size(); ++n) {
    Drawing d;
    if (ReadPdf(pdf.substr(0, n), d)) {
      ++loaded;
    } else {
      ASSERT_FALSE(d.LastError().empty()) << "cut at " << n;
    }
  }
  // Only cuts after the table's position ("\r\n%%EOF\r\n") leave it readable.
  EXPECT_LE(loaded, 9u);
}

TEST(PdfReaderTest, GarbledOwnFilesFailCleanlyOrLoad) {
  for (bool deterministic : {false, true}) {
    const std::string pdf = PdfBytes(Everything(), deterministic);
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
      std::string bytes = pdf;
      const int flips = 1 + int(random() % 8);
      for (int i = 0; i < flips; ++i) bytes[random() % bytes.size()] = char(random());
      Drawing d;
      if (!ReadPdf(bytes, d)) {
        ASSERT_FALSE(d.LastError().empty()) << "round " << round;
      }
      for (int i = 0; i < d.Count(); ++i) ASSERT_LT(d.GetShape(i)->pageIndex, d.PageCount());
    }
  }
}

TEST(PdfReaderTest, UnreadableOrEmptyFileFailsWithoutAMessageOfItsOwn) {
  TempDir dir;
  WriteFileBytes(dir / "empty.pdf", "");
  Drawing d;
  EXPECT_FALSE(LoadPdf(dir / "empty.pdf", d));
  EXPECT_FALSE(LoadPdf(dir / "missing.pdf", d));
  EXPECT_TRUE(d.LastError().empty());
}

}  // namespace
}  // namespace zel

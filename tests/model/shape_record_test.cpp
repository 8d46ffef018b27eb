// The binary shape record: round trips of every kind and hostile records.
#include <gtest/gtest.h>

#include <cstring>

#include "model/shape.h"

namespace zel {
namespace {

std::vector<uint8_t> RecordOf(const Shape& s) {
  ByteWriter w;
  s.Write(w);
  return w.bytes();
}

std::unique_ptr<Shape> ReadBack(const std::vector<uint8_t>& bytes, bool* ok, size_t* consumed = nullptr) {
  auto s = std::make_unique<Shape>();
  ByteReader r(bytes);
  *ok = s->Read(r);
  if (consumed) *consumed = r.position();
  return s;
}

std::unique_ptr<Shape> CurvedPath() {
  auto s = std::make_unique<Shape>(KindPath);
  PathContent* p = s->path();
  p->penStyle = kPenNull;
  p->lineWidth = kLineBold;
  p->penColor = MakeColor(10, 20, 30);
  p->brushStyle = kBrushDotted;
  p->subPaths.push_back({{{0, 0}, {0, 0}, {100, -50}, kNodeCusp},
                         {{150, 50}, {200, 0}, {250, -50}, 0},
                         {{300, 0}, {300, 0}, {300, 0}, kNodeCusp}});
  p->subPaths.push_back({{{5e-9f, 1}, {5e-9f, 1}, {5e-9f, 1}, 0}});
  s->fillColor = MakeColor(200, 100, 50);
  s->groupId = 3;
  s->pageIndex = 2;
  s->UpdateBounds();
  return s;
}

std::unique_ptr<Shape> TextShape() {
  auto s = std::make_unique<Shape>(KindText);
  TextContent* t = s->text();
  t->text = u"Zel\r\nline two \u00e9\u4e2d";
  t->faceName = u"Liberation Serif";
  t->size = 123.5f;
  t->styleBits = kTextBold | kTextUnderline;
  t->anchor = {-40, 25};
  t->corner = {500, 300};
  t->angle = 33.0f;
  t->alignment = kAlignCenter;
  t->textType = kTextParagraph;
  s->fillColor = MakeColor(1, 2, 3);
  s->UpdateBounds();
  return s;
}

std::unique_ptr<Shape> PaletteImage() {
  auto s = std::make_unique<Shape>(KindImage);
  ImageContent* im = s->image();
  im->dib.header.width = 3;
  im->dib.header.height = -2;  // top-down rows
  im->dib.header.bitCount = 8;
  im->dib.colors = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  im->dib.header.clrUsed = 4;
  im->dib.bits = {0, 1, 2, 0, 3, 2, 1, 0};
  im->placement = {100, -100, 50, -50};  // flipped both ways
  s->UpdateBounds();
  return s;
}

void ExpectSameNodes(const SubPath& a, const SubPath& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].flags, b[i].flags) << i;
    EXPECT_FLOAT_EQ(a[i].anchor.x, b[i].anchor.x) << i;
    EXPECT_FLOAT_EQ(a[i].anchor.y, b[i].anchor.y) << i;
    EXPECT_FLOAT_EQ(a[i].in.x, b[i].in.x) << i;
    EXPECT_FLOAT_EQ(a[i].out.y, b[i].out.y) << i;
  }
}

TEST(ShapeRecord, AllKindsRoundTripByteForByte) {
  std::unique_ptr<Shape> shapes[] = {CurvedPath(), TextShape(), PaletteImage(), std::make_unique<Shape>(99)};
  for (const auto& original : shapes) {
    SCOPED_TRACE(original->kind());
    std::vector<uint8_t> bytes = RecordOf(*original);
    bool ok = false;
    size_t consumed = 0;
    auto back = ReadBack(bytes, &ok, &consumed);
    ASSERT_TRUE(ok);
    EXPECT_EQ(consumed, bytes.size());
    EXPECT_EQ(back->kind(), original->kind());
    EXPECT_EQ(back->groupId, original->groupId);
    EXPECT_EQ(back->pageIndex, original->pageIndex);
    EXPECT_EQ(back->fillColor, original->fillColor);
    EXPECT_EQ(RecordOf(*back), bytes);
    EXPECT_FLOAT_EQ(back->bounds.xmin, original->bounds.xmin);
    EXPECT_FLOAT_EQ(back->bounds.ymax, original->bounds.ymax);
  }
}

TEST(ShapeRecord, PathFieldsAndHandleOmission) {
  auto original = CurvedPath();
  bool ok = false;
  auto back = ReadBack(RecordOf(*original), &ok);
  ASSERT_TRUE(ok);
  const PathContent* p = back->path();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->penStyle, kPenNull);
  EXPECT_EQ(p->lineWidth, kLineBold);
  EXPECT_EQ(p->penColor, MakeColor(10, 20, 30));
  EXPECT_EQ(p->brushStyle, kBrushDotted);
  ASSERT_EQ(p->subPaths.size(), 2u);
  ExpectSameNodes(p->subPaths[0], original->path()->subPaths[0]);
  // A tiny coordinate is stored as zero; flags never keep the record's bit 15.
  EXPECT_EQ(p->subPaths[1][0].anchor.x, 0.0f);
  EXPECT_EQ(p->subPaths[0][2].flags, kNodeCusp);
  EXPECT_EQ(p->flattened.size(), 2u);
}

TEST(ShapeRecord, RectangleNodesComeBackWithoutHandles) {
  auto rect = MakeRectangle({-10, 10, -20, 20});
  rect->path()->subPaths[0][1].flags = kNodeCusp;
  std::vector<uint8_t> bytes = RecordOf(*rect);
  // Header words, path header, subpath count, node count, 5 bare nodes.
  EXPECT_EQ(bytes.size(), 4 * 4 + 4 * 4 + 4 + 4 + 5 * 10u);
  bool ok = false;
  auto back = ReadBack(bytes, &ok);
  ASSERT_TRUE(ok);
  for (const PathNode& n : back->path()->subPaths[0]) {
    EXPECT_EQ(n.in.x, n.anchor.x);
    EXPECT_EQ(n.out.y, n.anchor.y);
  }
  EXPECT_EQ(back->path()->subPaths[0][1].flags, kNodeCusp);

  // Once a handle moves away, the node is written with its handles again.
  back->path()->subPaths[0][2].out = {30, 40};
  bool ok2 = false;
  auto again = ReadBack(RecordOf(*back), &ok2);
  ASSERT_TRUE(ok2);
  EXPECT_EQ(again->path()->subPaths[0][2].out.x, 30.0f);
  EXPECT_EQ(again->path()->subPaths[0][2].out.y, 40.0f);
}

TEST(ShapeRecord, TextAndImageFields) {
  bool ok = false;
  auto text = ReadBack(RecordOf(*TextShape()), &ok);
  ASSERT_TRUE(ok);
  const TextContent* t = text->text();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->text, TextShape()->text()->text);
  EXPECT_EQ(t->faceName, u"Liberation Serif");
  EXPECT_EQ(t->size, 123.5f);
  EXPECT_EQ(t->styleBits, kTextBold | kTextUnderline);
  EXPECT_EQ(t->alignment, kAlignCenter);
  EXPECT_EQ(t->textType, kTextParagraph);
  EXPECT_EQ(t->angle, 33.0f);
  EXPECT_EQ(t->corner.x, 500.0f);

  auto image = ReadBack(RecordOf(*PaletteImage()), &ok);
  ASSERT_TRUE(ok);
  const ImageContent* im = image->image();
  ASSERT_NE(im, nullptr);
  EXPECT_EQ(im->dib.colors.size(), 4u);
  EXPECT_EQ(im->dib.header.height, -2);
  EXPECT_EQ(im->dib.bits, PaletteImage()->image()->dib.bits);
  EXPECT_EQ(im->placement.xmin, 100.0f);
  EXPECT_EQ(image->bounds.xmin, -100.0f);
  EXPECT_EQ(image->bounds.ymax, 50.0f);
}

// Offsets into a path record: 16 header bytes, then pen style, width,
// colour, brush, subpath count (at 32), node count (at 36), first node (40).
void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }

TEST(ShapeRecord, HostileRecordsAreRejected) {
  const std::vector<uint8_t> path = RecordOf(*CurvedPath());
  const std::vector<uint8_t> image = RecordOf(*PaletteImage());
  const std::vector<uint8_t> text = RecordOf(*TextShape());
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  for (size_t cut : {size_t(0), size_t(3), size_t(15), size_t(33), size_t(45), path.size() - 1})
    cases.push_back({"truncated path", std::vector<uint8_t>(path.begin(), path.begin() + cut)});
  cases.push_back({"truncated image", std::vector<uint8_t>(image.begin(), image.end() - 1)});
  cases.push_back({"truncated text", std::vector<uint8_t>(text.begin(), text.end() - 2)});
  {
    auto b = path;
    PutU32(b, 32, 0xFFFFFFFF);
    cases.push_back({"subpath count beyond stream", b});
  }
  {
    auto b = path;
    PutU32(b, 32, static_cast<uint32_t>(b.size() - 1));
    cases.push_back({"subpath count within total but not remaining", b});
  }
  {
    auto b = path;
    PutU32(b, 36, 0);
    cases.push_back({"zero node count", b});
  }
  {
    auto b = path;
    PutU32(b, 36, 0x40000000);
    cases.push_back({"node count beyond stream", b});
  }
  {
    auto b = text;
    PutU32(b, 16, 0x7FFFFFFF);
    cases.push_back({"string length beyond stream", b});
  }
  // Image record: 16 header bytes, 16 placement bytes, header size at 32.
  {
    auto b = image;
    PutU32(b, 32, 1068);
    b.resize(b.size() + 2000, 0);
    cases.push_back({"image header above 1064 bytes", b});
  }
  {
    auto b = image;
    PutU32(b, 32, 39);
    cases.push_back({"image header below 40 bytes", b});
  }
  {
    auto b = image;
    PutU32(b, 32 + 4 + 40 + 16, 0xFFFFFFF0);
    cases.push_back({"pixel byte count beyond stream", b});
  }
  {
    // Header claims a huge bitmap; the few pixel bytes cannot cover its rows.
    auto b = image;
    PutU32(b, 32 + 4 + 4, 0x7FFFFFFF);
    cases.push_back({"pixels do not fit the header", b});
  }
  {
    auto b = path;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(&b[42], &nan, 4);
    cases.push_back({"NaN coordinate", b});
  }
  for (const Case& c : cases) {
    bool ok = true;
    ReadBack(c.bytes, &ok);
    EXPECT_FALSE(ok) << c.what;
  }
}

TEST(ShapeRecord, UnknownKindCarriesOnlyTheHeader) {
  ByteWriter w;
  for (uint32_t v : {7u, 1u, 2u, 3u, 0xDEADu}) w.U32(v);
  bool ok = false;
  size_t consumed = 0;
  auto s = ReadBack(w.bytes(), &ok, &consumed);
  EXPECT_TRUE(ok);
  EXPECT_EQ(consumed, 16u);
  EXPECT_EQ(s->content, nullptr);
  EXPECT_EQ(s->fillColor, 3u);
}

}  // namespace
}  // namespace zel

#include "example_drawings.h"

#include <cmath>
#include <initializer_list>
#include <string>

namespace zel {

namespace {

// Pages of A5 size.
constexpr float kPageW = 1480.0f;
constexpr float kPageH = 2100.0f;

PathNode Corner(float x, float y) {
  PathNode n;
  n.in = n.anchor = n.out = {x, y};
  return n;
}

PathNode Smooth(float x, float y, float inX, float inY, float outX, float outY) {
  PathNode n;
  n.in = {inX, inY};
  n.anchor = {x, y};
  n.out = {outX, outY};
  return n;
}

SubPath Polygon(std::initializer_list<PointF> points, bool close) {
  SubPath s;
  for (PointF p : points) s.push_back(Corner(p.x, p.y));
  if (close) s.push_back(s.front());
  return s;
}

SubPath Circle(float cx, float cy, float r) {
  const float h = r * 2 * kEllipseHandle;
  SubPath s = {
      Smooth(cx, cy - r, cx - h, cy - r, cx + h, cy - r),
      Smooth(cx + r, cy, cx + r, cy - h, cx + r, cy + h),
      Smooth(cx, cy + r, cx + h, cy + r, cx - h, cy + r),
      Smooth(cx - r, cy, cx - r, cy + h, cx - r, cy - h),
  };
  s.push_back(s.front());
  return s;
}

std::u16string Digits(int v) {
  std::u16string s;
  for (char c : std::to_string(v)) s += char16_t(c);
  return s;
}

struct Style {
  int32_t pen = kPenSolid;
  int32_t width = kLineNormal;
  ColorRef penColor = 0;
  int32_t brush = kBrushSolid;
  ColorRef fill = 0xFFFFFF;
};

Shape& AddPath(Drawing& d, int page, std::vector<SubPath> contours, const Style& st, int group = 0) {
  auto shape = std::make_unique<Shape>(KindPath);
  PathContent* p = shape->path();
  p->penStyle = st.pen;
  p->lineWidth = st.width;
  p->penColor = st.penColor;
  p->brushStyle = st.brush;
  p->subPaths = std::move(contours);
  shape->fillColor = st.fill;
  shape->pageIndex = page;
  shape->groupId = group;
  shape->UpdateBounds();
  Shape& ref = *shape;
  d.Add(std::move(shape));
  return ref;
}

struct TextSpec {
  std::u16string text;
  std::u16string face = u"Liberation Sans";
  // Sizes are whole tenths of a millimetre: the editor measures text at
  // whole units, so such sizes look the same in the editor at any zoom and
  // in every viewer.
  float size = 49.0f;
  uint32_t style = 0;
  PointF anchor;
  PointF corner;  // paragraph only
  float angle = 0.0f;
  int32_t alignment = kAlignLeft;
  int32_t type = kTextArtistic;
  ColorRef color = 0;
};

void AddText(Drawing& d, int page, const TextSpec& t, int group = 0) {
  auto shape = std::make_unique<Shape>(KindText);
  TextContent* c = shape->text();
  c->text = t.text;
  c->faceName = t.face;
  c->size = t.size;
  c->styleBits = t.style;
  c->anchor = t.anchor;
  c->corner = t.corner;
  c->angle = t.angle;
  c->alignment = t.alignment;
  c->textType = t.type;
  shape->fillColor = t.color;
  shape->pageIndex = page;
  shape->groupId = group;
  shape->UpdateBounds();
  d.Add(std::move(shape));
}

void AddImage(Drawing& d, int page, DibImage dib, RectF placement, int group = 0) {
  auto shape = std::make_unique<Shape>(KindImage);
  shape->image()->dib = std::move(dib);
  shape->image()->placement = placement;
  shape->pageIndex = page;
  shape->groupId = group;
  shape->UpdateBounds();
  d.Add(std::move(shape));
}

void Title(Drawing& d, int page, const std::u16string& text) {
  TextSpec t;
  t.text = text;
  t.size = 85.0f;
  t.style = kTextBold;
  t.anchor = {-kPageW / 2 + 80, -kPageH / 2 + 60};
  t.color = MakeColor(40, 40, 90);
  AddText(d, page, t);
}

std::unique_ptr<Drawing> NewDrawing(int pages) {
  auto d = std::make_unique<Drawing>();
  d->SetPageSize(kPageW, kPageH);
  d->SetPageCount(pages);
  return d;
}

// --- Pictures ------------------------------------------------------------------

// A 24-bit picture: a colour gradient with a dark diagonal.
DibImage Gradient(int w, int h) {
  DibImage dib;
  (void)dib.Create24(w, h);
  const size_t stride = size_t(dib.stride());
  for (int y = 0; y < h; ++y) {
    uint8_t* row = dib.bits.data() + size_t(h - 1 - y) * stride;  // y counted from the top
    for (int x = 0; x < w; ++x) {
      const bool diagonal = std::abs(x * h - y * w) < w * 2;
      row[3 * x + 0] = diagonal ? 30 : uint8_t(255 * y / (h - 1));        // blue
      row[3 * x + 1] = diagonal ? 30 : uint8_t(200 - 150 * x / (w - 1));  // green
      row[3 * x + 2] = diagonal ? 30 : uint8_t(255 * x / (w - 1));        // red
    }
  }
  return dib;
}

// A palette picture (1, 4 or 8 bits): a checker board of palette colours.
DibImage Checker(int w, int h, int bits) {
  DibImage dib;
  dib.header.width = w;
  dib.header.height = h;
  dib.header.bitCount = uint16_t(bits);
  const int colors = 1 << bits;
  for (int i = 0; i < colors; ++i) {
    const int r = (i * 97) % 256, g = (i * 53 + 80) % 256, b = (i * 181 + 40) % 256;
    dib.colors.push_back(uint32_t(b) | (uint32_t(g) << 8) | (uint32_t(r) << 16));
  }
  dib.header.clrUsed = uint32_t(colors);
  const size_t stride = size_t(DibImage::Stride(w, bits));
  dib.bits.assign(stride * size_t(h), 0);
  dib.header.sizeImage = uint32_t(dib.bits.size());
  for (int y = 0; y < h; ++y) {
    uint8_t* row = dib.bits.data() + size_t(y) * stride;
    for (int x = 0; x < w; ++x) {
      const int index = ((x / 4 + y / 4) % 2) ? (x + y) % colors : 0;
      const int bit = x * bits;
      row[bit / 8] |= uint8_t(index << (8 - bits - bit % 8));
    }
  }
  return dib;
}

// A 16-bit (5-6-5 fields) or 32-bit picture: horizontal colour bands.
DibImage Bands(int w, int h, int bits) {
  DibImage dib;
  dib.header.width = w;
  dib.header.height = h;
  dib.header.bitCount = uint16_t(bits);
  if (bits == 16) {
    dib.header.compression = kBiBitfields;
    dib.colors = {0xF800, 0x07E0, 0x001F};
  }
  const size_t stride = size_t(DibImage::Stride(w, bits));
  dib.bits.assign(stride * size_t(h), 0);
  dib.header.sizeImage = uint32_t(dib.bits.size());
  static const uint8_t kBands[4][3] = {{220, 40, 40}, {40, 180, 60}, {40, 70, 220}, {240, 200, 30}};
  for (int y = 0; y < h; ++y) {
    const uint8_t* c = kBands[(y * 4) / h];
    uint8_t* row = dib.bits.data() + size_t(y) * stride;
    for (int x = 0; x < w; ++x) {
      if (bits == 16) {
        const uint16_t v = uint16_t(((c[0] >> 3) << 11) | ((c[1] >> 2) << 5) | (c[2] >> 3));
        row[2 * x] = uint8_t(v);
        row[2 * x + 1] = uint8_t(v >> 8);
      } else {
        row[4 * x] = c[2];
        row[4 * x + 1] = c[1];
        row[4 * x + 2] = c[0];
      }
    }
  }
  return dib;
}

// --- The examples ----------------------------------------------------------------

std::unique_ptr<Drawing> Shapes() {
  auto d = NewDrawing(1);
  Title(*d, 0, u"Shapes");
  const ColorRef black = 0;
  // Rectangle, ellipse and a line.
  AddPath(*d, 0, {Polygon({{-640, -850}, {-240, -850}, {-240, -550}, {-640, -550}}, true)},
          {kPenSolid, kLineNormal, black, kBrushSolid, MakeColor(150, 200, 240)});
  AddPath(*d, 0, {Circle(50, -700, 150)}, {kPenNull, 0, black, kBrushSolid, MakeColor(250, 160, 40)});
  AddPath(*d, 0, {Polygon({{300, -850}, {640, -550}}, false)},
          {kPenSolid, kLineThick, MakeColor(200, 30, 30), kBrushNull, 0});
  // An open Bezier curve and a closed one.
  AddPath(*d, 0,
          {{Smooth(-640, -250, -640, -250, -540, -450), Smooth(-350, -250, -450, -50, -250, -450),
            Smooth(-60, -250, -160, -50, -60, -250)}},
          {kPenSolid, kLineBold, MakeColor(20, 140, 60), kBrushNull, 0});
  SubPath blob = {Smooth(250, -420, 150, -420, 350, -420), Smooth(600, -250, 600, -400, 600, -100),
                  Smooth(300, -80, 450, -80, 150, -80), Smooth(120, -250, 120, -120, 120, -380)};
  blob.push_back(blob.front());
  blob[2].flags = kNodeCusp;
  AddPath(*d, 0, {blob}, {kPenSolid, kLineNormal, MakeColor(60, 0, 90), kBrushSolid, MakeColor(180, 120, 220)});
  // Holes: a frame and a ring, filled even-odd.
  AddPath(*d, 0,
          {Polygon({{-640, 50}, {-240, 50}, {-240, 400}, {-640, 400}}, true),
           Polygon({{-540, 150}, {-340, 150}, {-340, 300}, {-540, 300}}, true)},
          {kPenSolid, kLineFine, black, kBrushSolid, MakeColor(90, 90, 200)});
  AddPath(*d, 0, {Circle(50, 225, 175), Circle(50, 225, 90)},
          {kPenSolid, kLineNormal, MakeColor(120, 60, 0), kBrushSolid, MakeColor(240, 220, 120)});
  // The dotted fill, and a filled star without a line.
  AddPath(*d, 0, {Polygon({{300, 50}, {640, 50}, {640, 400}, {300, 400}}, true)},
          {kPenSolid, kLineNormal, black, kBrushDotted, MakeColor(0, 60, 160)});
  SubPath star;
  for (int i = 0; i < 10; ++i) {
    const double a = i * 3.14159265358979 / 5 - 3.14159265358979 / 2;
    const float r = (i % 2) ? 80.0f : 200.0f;
    star.push_back(Corner(float(-440 + r * std::cos(a)), float(750 + r * std::sin(a))));
  }
  star.push_back(star.front());
  AddPath(*d, 0, {star}, {kPenNull, 0, black, kBrushSolid, MakeColor(230, 50, 120)});
  // A freehand stroke, and a path of a closed and an open contour.
  SubPath zigzag;
  for (int i = 0; i <= 12; ++i) zigzag.push_back(Corner(-100 + i * 30.0f, 600 + ((i % 2) ? 60.0f : -40.0f)));
  AddPath(*d, 0, {zigzag}, {kPenSolid, kLineBold, MakeColor(0, 120, 140), kBrushNull, 0});
  AddPath(*d, 0,
          {Polygon({{300, 600}, {640, 600}, {640, 900}, {300, 900}}, true),
           Polygon({{340, 950}, {470, 750}, {600, 950}}, false)},
          {kPenSolid, kLineNormal, MakeColor(200, 0, 0), kBrushNull, 0});
  return d;
}

std::unique_ptr<Drawing> Texts() {
  auto d = NewDrawing(1);
  Title(*d, 0, u"Text");
  const float left = -640;
  struct Face {
    const char16_t* face;
    uint32_t style;
    const char16_t* text;
  };
  const Face faces[] = {
      {u"Liberation Sans", 0, u"Liberation Sans"},
      {u"Liberation Serif", kTextBold, u"Liberation Serif bold"},
      {u"Liberation Mono", kTextItalic, u"Liberation Mono italic"},
      {u"DejaVu Sans", kTextBold | kTextItalic | kTextUnderline, u"DejaVu Sans bold italic underlined"},
      {u"DejaVu Serif", 0, u"Accents: \u00e9t\u00e9, na\u00efve, Stra\u00dfe (1) \\ [2]"},
  };
  float y = -880;
  for (const Face& f : faces) {
    TextSpec t;
    t.text = f.text;
    t.face = f.face;
    t.style = f.style;
    t.anchor = {left, y};
    AddText(*d, 0, t);
    y += 90;
  }
  // Rotated artistic text around one point.
  for (int angle : {0, 30, 90, 200}) {
    TextSpec t;
    t.text = u"Rotated by " + Digits(angle) + u"\u00b0";
    t.size = 42.0f;
    t.anchor = {250, -200};
    t.angle = float(angle);
    t.color = MakeColor(20 + angle % 200, 60, 160);
    AddText(*d, 0, t);
  }
  // Multi-line artistic text, centred and right-aligned.
  TextSpec centred;
  centred.text = u"Centred lines\r\nof artistic text\r\nin three lines";
  centred.anchor = {-640, -100};
  centred.alignment = kAlignCenter;
  centred.color = MakeColor(0, 100, 0);
  AddText(*d, 0, centred);
  TextSpec right = centred;
  right.text = u"Right-aligned\r\nartistic\r\ntext";
  right.anchor = {-640, 250};
  right.alignment = kAlignRight;
  right.face = u"Liberation Serif";
  right.color = MakeColor(120, 0, 0);
  AddText(*d, 0, right);
  // Paragraph text wrapped in its box (the box drawn around it), a centred
  // one, and one that runs past the bottom of its box.
  const Style frame{kPenSolid, kLineFine, MakeColor(150, 150, 150), kBrushNull, 0};
  TextSpec para;
  para.type = kTextParagraph;
  para.size = 39.0f;
  para.text = u"Paragraph text wraps inside its box. Long lines break at spaces, "
              u"and a hard line break\r\nstarts a new paragraph.";
  para.anchor = {-640, 500};
  para.corner = {-100, 800};
  AddPath(*d, 0, {Polygon({para.anchor, {para.corner.x, para.anchor.y}, para.corner, {para.anchor.x, para.corner.y}}, true)},
          frame);
  AddText(*d, 0, para);
  TextSpec centredPara = para;
  centredPara.text = u"A centred paragraph in Liberation Serif, wrapped to the width of its box.";
  centredPara.face = u"Liberation Serif";
  centredPara.alignment = kAlignCenter;
  centredPara.anchor = {0, 500};
  centredPara.corner = {640, 800};
  centredPara.color = MakeColor(0, 0, 150);
  AddPath(*d, 0,
          {Polygon({centredPara.anchor, {centredPara.corner.x, centredPara.anchor.y}, centredPara.corner,
                    {centredPara.anchor.x, centredPara.corner.y}},
                   true)},
          frame);
  AddText(*d, 0, centredPara);
  TextSpec overflow = para;
  overflow.text = u"This paragraph holds more text than its box can show: the lines past the bottom "
                  u"are kept in the file, where viewers do not show them either.";
  overflow.anchor = {-640, 880};
  overflow.corner = {640, 960};
  AddPath(*d, 0,
          {Polygon({overflow.anchor, {overflow.corner.x, overflow.anchor.y}, overflow.corner,
                    {overflow.anchor.x, overflow.corner.y}},
                   true)},
          frame);
  AddText(*d, 0, overflow);
  return d;
}

std::unique_ptr<Drawing> Pictures() {
  auto d = NewDrawing(1);
  Title(*d, 0, u"Pictures");
  AddImage(*d, 0, Gradient(96, 64), {-640, -40, -850, -450});
  AddImage(*d, 0, Checker(40, 40, 8), {60, 460, -850, -450});
  AddImage(*d, 0, Checker(30, 20, 4), {-640, -240, -350, -83});
  AddImage(*d, 0, Checker(17, 9, 1), {-140, 260, -350, -139});
  AddImage(*d, 0, Bands(33, 20, 16), {360, 640, -350, -180});
  AddImage(*d, 0, Bands(20, 33, 32), {-640, -340, 0, 495});
  // The gradient mirrored left to right: placed from right to left.
  AddImage(*d, 0, Gradient(96, 64), {460, -140, 0, 400});
  AddPath(*d, 0, {Polygon({{-660, -870}, {-20, -870}, {-20, -430}, {-660, -430}}, true)},
          {kPenSolid, kLineBold, MakeColor(60, 60, 60), kBrushNull, 0});
  TextSpec caption;
  caption.text = u"24-bit, 8-, 4- and 1-bit palettes, 16 and 32 bits, and a mirrored picture";
  caption.size = 35.0f;
  caption.anchor = {-640, 600};
  AddText(*d, 0, caption);
  return d;
}

std::unique_ptr<Drawing> PagesAndGroups() {
  auto d = NewDrawing(3);
  for (int page = 0; page < 3; ++page) {
    Title(*d, page, u"Page " + Digits(page + 1) + u" of 3");
  }
  // Page 1: a labelled box (one group) and three circles (another).
  AddPath(*d, 0, {Polygon({{-500, -600}, {300, -600}, {300, -300}, {-500, -300}}, true)},
          {kPenSolid, kLineBold, MakeColor(0, 80, 160), kBrushSolid, MakeColor(210, 230, 250)}, 1);
  TextSpec label;
  label.text = u"A grouped label";
  label.size = 63.0f;
  label.anchor = {-420, -500};
  AddText(*d, 0, label, 1);
  for (int i = 0; i < 3; ++i) {
    AddPath(*d, 0, {Circle(-400 + i * 250.0f, 200, 100)},
            {kPenSolid, kLineNormal, 0, kBrushSolid, MakeColor(250, 200 - i * 60, 40 + i * 80)}, 2);
  }
  // Page 2: an ungrouped shape between the members of a group.
  AddPath(*d, 1, {Polygon({{-600, -500}, {-100, -500}, {-350, -100}}, true)},
          {kPenSolid, kLineNormal, 0, kBrushSolid, MakeColor(120, 200, 120)}, 3);
  AddPath(*d, 1, {Circle(300, -300, 200)}, {kPenSolid, kLineThick, MakeColor(200, 0, 0), kBrushNull, 0});
  AddPath(*d, 1, {Polygon({{-600, 100}, {600, 100}, {600, 300}, {-600, 300}}, true)},
          {kPenNull, 0, 0, kBrushSolid, MakeColor(120, 120, 200)}, 3);
  // Page 3: a picture with its caption, grouped, and a rotated note.
  AddImage(*d, 2, Gradient(64, 48), {-400, 400, -600, 0}, 4);
  TextSpec caption;
  caption.text = u"Picture and caption form one group";
  caption.size = 42.0f;
  caption.anchor = {-400, 40};
  caption.style = kTextItalic;
  AddText(*d, 2, caption, 4);
  TextSpec note;
  note.text = u"A note at 45 degrees";
  note.anchor = {-300, 600};
  note.angle = 45.0f;
  note.color = MakeColor(160, 0, 100);
  AddText(*d, 2, note);
  return d;
}

}  // namespace

std::vector<ExampleDrawing> ExampleDrawings() {
  std::vector<ExampleDrawing> list;
  list.push_back({"shapes.pdf", Shapes()});
  list.push_back({"text.pdf", Texts()});
  list.push_back({"pictures.pdf", Pictures()});
  list.push_back({"pages-and-groups.pdf", PagesAndGroups()});
  return list;
}

}  // namespace zel

// Page content of the document writer: the operators of paths, texts and
// image placements. Coordinates arrive in points with y down; every y is
// written negated.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "docformat/pdf_text.h"
#include "docformat/pdf_writer_p.h"
#include "model/text_layout.h"
#include "platform/font_face.h"

namespace zel {

namespace {

void Fixed(std::string& s, double v, int decimals = 6) { AppendFixed(s, v, decimals); }

void Point(std::string& s, PointF p, const char* op, int decimals = 6) {
  Fixed(s, p.x, decimals);
  s += ' ';
  Fixed(s, -double(p.y), decimals);
  s += op;
}

void Color(std::string& s, ColorRef c, const char* op) {
  const double unit = kByteToUnit;
  Fixed(s, unit * RedOf(c));
  s += ' ';
  Fixed(s, unit * GreenOf(c));
  s += ' ';
  Fixed(s, unit * BlueOf(c));
  s += op;
}

bool Straight(const PathNode& a, const PathNode& b) {
  return PointsEqual(b.in, b.anchor) && PointsEqual(a.out, a.anchor);
}

// A paragraph line or a line of artistic text, as it is written.
struct TextLineOut {
  std::u16string_view shown;  // measured and aligned
  std::u16string_view body;   // written: for paragraphs with the spaces a wrap skipped
  bool softBreak = false;     // a wrap, not a line break, follows
  bool visible = true;
};

// Paragraph text: every wrapped line. A line's body runs on to where the
// next line starts (less a line break), so the reader can join wrapped
// lines back into the text they came from. Lines past the box are written
// too, marked invisible, so the text survives and viewers show what the
// editor shows.
std::vector<TextLineOut> ParagraphLines(const TextContent& model, const Font& font) {
  std::vector<TextLineOut> lines;
  const std::u16string_view text = model.text;
  const int boxWidth = ParagraphBoxWidth(model);
  // The editor fills a box turned upside down as well.
  const double boxHeight = std::fabs(double(model.corner.y) - model.anchor.y);
  const int lineHeight = font.Measure(u"a").cy;
  double used = 0.0;
  bool hardAtEnd = false;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    TextLineOut line;
    line.shown = WrappedTextLine(text, &pos, font, boxWidth);
    std::u16string_view body = text.substr(start, pos - start);
    bool hard = false;
    if (!body.empty() && body.back() == u'\n') {
      body.remove_suffix(1);
      hard = true;
    }
    if (!body.empty() && body.back() == u'\r') {
      body.remove_suffix(1);
      hard = true;
    }
    line.body = body;
    line.softBreak = !hard && pos < text.size();
    line.visible = boxHeight - used >= double(lineHeight) - 1.0;
    used += font.Measure(line.shown).cy;
    lines.push_back(line);
    hardAtEnd = hard;
  }
  // A text that ends in a line break has an empty last line.
  if (hardAtEnd) {
    TextLineOut last;
    last.visible = boxHeight - used >= double(lineHeight) - 1.0;
    lines.push_back(last);
  }
  return lines;
}

std::vector<TextLineOut> ArtisticLines(const TextContent& model) {
  std::vector<TextLineOut> lines;
  size_t pos = 0;
  const int count = TextLineCount(model.text);
  for (int i = 0; i < count; ++i) {
    TextLineOut line;
    line.shown = line.body = TextLine(model.text, &pos);
    lines.push_back(line);
  }
  return lines;
}

// Where the editor puts a text's lines, in points for a text of `size`
// points. The file's text matrix puts the first baseline one size below the
// anchor (the reader relies on that); a text rise lifts the glyphs to the
// editor's baseline, one ascent below the anchor. Lines then follow one
// cell of the font apart and underlines sit where the editor draws them,
// so viewers show the text where the editor does.
struct EditorLayout {
  double rise = 0.0;
  double lineStep = 0.0;
  double underlineOffset = 0.0;  // from the anchor to the first underline's middle
  double underlineThickness = 0.0;
};

EditorLayout LayoutOf(const Font& font, double size) {
  const std::shared_ptr<FontFace> face = font.face();
  auto lock = face->Lock();
  const double perUnit = size / face->unitsPerEm();
  const FT_Face ft = face->ftFace();
  EditorLayout l;
  const double ascent = face->ascentUnits() * perUnit;
  l.rise = size - ascent;
  l.lineStep = (face->ascentUnits() + face->descentUnits()) * perUnit;
  l.underlineOffset = ascent - ft->underline_position * perUnit;
  l.underlineThickness = std::max(0.0, ft->underline_thickness * perUnit);
  return l;
}

}  // namespace

void AppendPathContent(std::string& s, const Shape& shape) {
  const PathContent* path = shape.path();
  if (!path) return;
  bool any = false;
  bool allClosed = true;
  for (const SubPath& sub : path->subPaths) {
    if (sub.size() < 2) continue;
    any = true;
    allClosed = allClosed && IsClosed(sub);
  }
  // A path without a contour of two nodes has nothing a file can show.
  if (!any) return;

  const bool stroke = path->penStyle != kPenNull;
  const bool fill = path->brushStyle != kBrushNull;
  // PDF has no dotted brush: viewers show the fill solid, and this comment
  // tells the reader to bring the dots back.
  if (path->brushStyle == kBrushDotted) s += "%Dotted\r\n";
  // Cusp nodes by their ordinal among the written nodes; PDF has no place
  // for how a node's handles move when edited.
  bool cusps = false;
  int64_t ordinal = 0;
  for (const SubPath& sub : path->subPaths) {
    if (sub.size() < 2) continue;
    for (const PathNode& node : sub) {
      if (node.flags & kNodeCusp) {
        s += cusps ? " " : "%Cusps ";
        AppendInt(s, ordinal);
        cusps = true;
      }
      ++ordinal;
    }
  }
  if (cusps) s += "\r\n";
  // Width and colours go out even when unused, so a path without a line or
  // fill keeps the colour it gets back when the line or fill is turned on.
  Fixed(s, double(path->lineWidth) * kModelToPoints);
  s += " w\r\n";
  Color(s, path->penColor, " RG\r\n");
  Color(s, shape.fillColor, " rg\r\n");

  bool first = true;
  for (const SubPath& sub : path->subPaths) {
    if (sub.size() < 2) continue;
    if (!first) s += "h\r\n";
    first = false;
    Point(s, sub[0].anchor, " m\r\n");
    for (size_t i = 1; i < sub.size(); ++i) {
      const PathNode& a = sub[i - 1];
      const PathNode& b = sub[i];
      if (Straight(a, b)) {
        Point(s, b.anchor, " l\r\n");
      } else {
        Point(s, a.out, " ");
        Point(s, b.in, " ");
        Point(s, b.anchor, " c\r\n");
      }
    }
  }
  // The closing operators only when every contour is closed: a closing
  // operator closes all of them, and the reader closes every contour of
  // such a path.
  if (stroke && fill) s += allClosed ? "b*\r\n" : "B*\r\n";
  else if (fill) s += "f*\r\n";
  else if (stroke) s += allClosed ? "s\r\n" : "S\r\n";
  else s += "n\r\n";
}

void AppendTextContent(std::string& s, const Shape& shape, const TextContent& model, int fontIndex) {
  const TextContent* text = shape.text();
  if (!text) return;
  const std::shared_ptr<Font> font = TextFont(model);
  if (!font) return;
  const bool paragraph = text->paragraph();
  const int degrees = NormalizeTextAngle(text->angle);
  const double a = degrees * kDegToRad;
  const double c = std::cos(a);
  const double sn = std::sin(a);
  const double size = text->size;
  // The first baseline lies one size below the anchor, along the text's down.
  const double x0 = text->anchor.x + sn * size;
  const double y0 = text->anchor.y + c * size;

  auto matrix = [&](double m0, double m1, double m2, double m3) {
    const double m[6] = {m0, m1, m2, m3, x0, -y0};
    for (int i = 0; i < 6; ++i) {
      if (i) s += ' ';
      Fixed(s, m[i], 4);
    }
  };
  s += paragraph ? "/InPathText<</Matrix [" : "/PointText<</Matrix [";
  matrix(c, -sn, sn, c);
  s += "]/Vertical false >> BDC\r\n";
  if (paragraph) {
    const PointF p0 = text->anchor, p1 = text->corner;
    Point(s, p0, " m\r\n", 4);
    Point(s, {p1.x, p0.y}, " l\r\n", 4);
    Point(s, p1, " l\r\n", 4);
    Point(s, {p0.x, p1.y}, " l\r\n", 4);
    Point(s, p0, " l\r\n", 4);
    s += "h\r\nn\r\n";
  }
  s += "/Pgf BMC\r\n";
  if (text->alignment == kAlignCenter) s += "/PgfFormat<</Alignment 2 >> DP\r\n";
  else if (text->alignment == kAlignRight) s += "/PgfFormat<</Alignment 3 >> DP\r\n";
  else s += "/PgfFormat<</Alignment 1 >> DP\r\n";

  s += "BT\r\n";
  Color(s, shape.fillColor, " rg\r\n");
  s += "/F";
  AppendInt(s, fontIndex + kFontResourceBase);
  s += ' ';
  Fixed(s, size, 2);
  s += " Tf\r\n";
  matrix(c, sn, -sn, c);
  s += " Tm\r\n";

  const EditorLayout layout = LayoutOf(*font, size);
  // Text state outlives BT and ET: every text sets its own rise.
  Fixed(s, layout.rise, 4);
  s += " Ts\r\n";
  const double leading = layout.lineStep;
  const std::vector<TextLineOut> lines = paragraph ? ParagraphLines(model, *font) : ArtisticLines(model);
  const double blockWidth = paragraph ? double(ParagraphBoxWidth(model)) : double(TextBlockExtent(model, *font).cx);
  std::vector<double> offsets, widths;
  double previous = 0.0;
  bool hidden = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const TextLineOut& line = lines[i];
    const double width = font->Measure(line.shown).cx;
    double offset = 0.0;
    if (text->alignment == kAlignCenter) offset = (blockWidth - width) * 0.14173259;
    else if (text->alignment == kAlignRight) offset = (blockWidth - width) * double(kModelToPoints);
    if (i > 0) s += "EMC\r\n/Pgf BMC\r\n";
    if (!line.visible && !hidden) {
      s += "3 Tr\r\n";  // invisible: past the bottom of the box
      hidden = true;
    }
    if (i == 0) {
      if (std::fabs(offset) < 1e-8) {
        s += "0 0 Td\r\n";
      } else {
        Fixed(s, offset, 4);
        s += " 0 Td\r\n";
      }
    } else {
      Fixed(s, offset - previous, 4);
      s += " -";
      Fixed(s, leading, 4);
      s += " Td\r\n";
    }
    previous = offset;
    s += '(';
    AppendStringBody(s, line.body);
    s += ") Tj\r\n";
    if (line.softBreak) s += "%SoftBreak\r\n";
    if (line.visible) {
      offsets.push_back(offset);
      widths.push_back(width * kModelToPoints);
    }
  }
  const bool underline = (text->styleBits & kTextUnderline) != 0;
  if (hidden) s += "0 Tr\r\n";  // the next text is visible again
  if (underline) s += "%Underline\r\n";
  s += "ET\r\nEMC\r\nEMC\r\n";
  if (!underline) return;

  // The underline path the reader skips. It always has a segment: a text
  // without a visible line gets one of no length, since the reader drops
  // the path that follows an underlined text.
  if (offsets.empty()) {
    offsets.push_back(0.0);
    widths.push_back(0.0);
  }
  Fixed(s, layout.underlineThickness);
  s += " w\r\n";
  Color(s, shape.fillColor, " RG\r\n");
  const double rc = paragraph ? 1.0 : c;
  const double rs = paragraph ? 0.0 : sn;
  for (size_t i = 0; i < offsets.size(); ++i) {
    if (i) s += "h\r\n";
    const double dy = layout.underlineOffset + leading * double(i);
    for (int end = 0; end < 2; ++end) {
      const double dx = offsets[i] + (end ? widths[i] : 0.0);
      const double x = text->anchor.x + dx * rc + dy * rs;
      const double y = text->anchor.y - dx * rs + dy * rc;
      Fixed(s, x);
      s += ' ';
      Fixed(s, -y);
      s += end ? " l\r\n" : " m\r\n";
    }
  }
  s += "S\r\n";
}

void AppendImageContent(std::string& s, const ImageContent& image, int64_t object) {
  const RectF& p = image.placement;
  const double w = double(p.xmax) - p.xmin;
  const double h = double(p.ymax) - p.ymin;
  // A flipped picture has a negative width or height and is written as
  // such; only a picture of no size is left out.
  if (!(std::fabs(w) >= 1e-8) || !(std::fabs(h) >= 1e-8)) return;
  s += "q\r\n";
  Fixed(s, w);
  s += " 0 0 ";
  Fixed(s, h);
  s += ' ';
  Fixed(s, p.xmin);
  s += ' ';
  Fixed(s, -double(p.ymax));
  s += " cm\r\n/Im";
  AppendInt(s, object);
  s += " Do\r\nQ\r\n";
}

}  // namespace zel

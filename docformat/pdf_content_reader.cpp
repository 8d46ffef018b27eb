// The document reader's page contents: paths, texts and image placements
// rebuilt from the operator lines the writer emits. Numbers are in points
// with y up; every y is negated on the way in.
#include <algorithm>
#include <cmath>
#include <memory>

#include "docformat/flate.h"
#include "docformat/font_names.h"
#include "docformat/pdf_cursor.h"
#include "docformat/pdf_reader_p.h"
#include "docformat/pdf_text.h"
#include "docformat/rgb_samples.h"

namespace zel {

namespace {

constexpr int kFontResourceBase = 13;
constexpr float kRadToDeg = 57.2958f;  // 0x42652EE0
// Pictures larger than this many sample bytes are not read.
constexpr uint64_t kMaxSampleBytes = uint64_t(1) << 31;

// Colour components are rounded to the nearest byte value, so every value
// written as component / 255 comes back as it was.
int Component(double v) {
  const double c = std::floor(v * 255.0 + 0.5);
  return c < 0.0 ? 0 : c > 255.0 ? 255 : int(c);
}

bool ReadColor(std::string_view line, ColorRef* color) {
  double c[3];
  if (!OperandsOf(line, 3, c)) return false;
  *color = MakeColor(Component(c[0]), Component(c[1]), Component(c[2]));
  return true;
}

// Pads a point array with copies of its last point to a length of 2
// modulo 3: one node's in-handle and anchor, waiting for its out-handle.
void PadForSegment(std::vector<PointF>& a) {
  while (!a.empty() && a.size() % 3 != 2) a.push_back(a.back());
}

PointF Flip(double x, double y) { return {float(x), float(-y)}; }

}  // namespace

void DocumentReader::ReadContentLines(std::string_view data, int page) {
  path_ = PathState{};
  placement_ = RectF{};
  size_t pos = 0;
  std::string_view line;
  while (ReadLine(data, &pos, &line)) {
    if (line == "endobj") break;
    const std::string_view op = OperatorOf(line);
    if (op == "BDC") {
      ReadText(data, &pos, Contains(line, "/InPathText") ? kTextParagraph : kTextArtistic, page);
      continue;
    }
    if (op == "Do") {
      if (line.size() >= 7 && Contains(line, "/Im")) ReadImage(line, page);
      continue;
    }
    if (op == "cm") {
      double m[6];
      if (OperandsOf(line, 6, m)) {
        const double x0 = m[4], x1 = m[4] + m[0], y0 = -m[5] - m[3], y1 = -m[5];
        placement_ = RectF{float(x0), float(x1), float(y0), float(y1)};
      }
      continue;
    }
    if (op == "w" && line.size() > 1) {
      std::string_view c = line;
      double w;
      path_.width = ParseNumber(&c, &w) ? float(std::clamp(std::floor(w * kPointsToModel + 0.5), 0.0, 10.0)) : 1.0f;
      path_.widthSeen = true;
      continue;
    }
    if (op == "rg") {
      if (ReadColor(line, &path_.fill)) path_.fillSeen = true;
      continue;
    }
    if (op == "RG") {
      if (ReadColor(line, &path_.stroke)) path_.strokeSeen = true;
      continue;
    }
    if (!path_.open && line == "%Dotted") {
      path_.dotted = true;
      continue;
    }
    if (!path_.open && StartsWith(line, "%Cusps")) {
      std::string_view c = line.substr(6);
      int64_t n;
      while (ParseInteger(&c, &n) && path_.cusps.size() < (size_t(1) << 24)) path_.cusps.push_back(n);
      continue;
    }
    if (op == "m" && line.size() > 1) {
      double p[2];
      if (OperandsOf(line, 2, p)) {
        if (path_.open) path_.arrays.push_back(std::move(path_.current));
        path_.current.assign(2, Flip(p[0], p[1]));
        path_.open = true;
      }
      continue;
    }
    if (path_.open && (op == "c" || op == "v" || op == "y" || op == "l")) {
      double p[6];
      std::vector<PointF>& a = path_.current;
      if (op == "c" && OperandsOf(line, 6, p)) {
        PadForSegment(a);
        a.push_back(Flip(p[0], p[1]));
        a.push_back(Flip(p[2], p[3]));
        a.push_back(Flip(p[4], p[5]));
      } else if (op == "v" && OperandsOf(line, 4, p)) {
        PadForSegment(a);
        const PointF current = a.back();
        a.push_back(current);
        a.push_back(Flip(p[0], p[1]));
        a.push_back(Flip(p[2], p[3]));
      } else if (op == "y" && OperandsOf(line, 4, p)) {
        PadForSegment(a);
        a.push_back(Flip(p[0], p[1]));
        a.push_back(Flip(p[2], p[3]));
        a.push_back(Flip(p[2], p[3]));
      } else if (op == "l" && OperandsOf(line, 2, p)) {
        PadForSegment(a);
        const PointF current = a.back();
        a.push_back(current);
        a.push_back(Flip(p[0], p[1]));
        a.push_back(Flip(p[0], p[1]));
      }
      continue;
    }
    if (path_.open) {
      path_.arrays.push_back(std::move(path_.current));
      path_.current.clear();
      path_.open = false;
      EndPath(op, page);
    }
  }
}

void DocumentReader::EndPath(std::string_view op, int page) {
  if (op == "h") return;  // the next contour of the same path follows
  bool stroke = path_.strokeSeen;
  bool fill = path_.fillSeen;
  bool close = false;
  if (op == "s" || op == "S") {
    stroke = true;
    fill = false;
    close = op == "s";
  } else if (op == "n") {
    stroke = fill = false;
  } else if (op == "f*") {
    stroke = false;
    fill = true;
  } else if (op == "b*" || op == "B*") {
    stroke = fill = true;
    close = op == "b*";
  }

  PathState state = std::move(path_);
  path_ = PathState{};
  if (skipNextPath_) {
    // The underline of the text before: drawn by the text itself.
    skipNextPath_ = false;
    return;
  }
  auto shape = std::make_unique<Shape>(KindPath);
  PathContent* path = shape->path();
  for (std::vector<PointF>& a : state.arrays) {
    if (a.empty()) continue;
    do a.push_back(a.back()); while (a.size() % 3 != 0);
    if (a.size() < 6) continue;  // not even one segment
    SubPath sub;
    for (size_t i = 0; i + 2 < a.size(); i += 3) {
      PathNode node;
      node.in = a[i];
      node.anchor = a[i + 1];
      node.out = a[i + 2];
      sub.push_back(node);
    }
    // Closing adds the first node again only where the contour does not
    // already end on it, so a closed contour never gains a duplicate.
    if (close && !PointsEqual(sub.back().anchor, sub.front().anchor)) sub.push_back(sub.front());
    // A closed contour ends on a copy of its first node; the file holds only
    // the handles that draw, the copy's in-handle and the first node's
    // out-handle, so the copy and the first node get both.
    if (sub.size() > 2 && PointsEqual(sub.back().anchor, sub.front().anchor)) {
      sub.front().in = sub.back().in;
      sub.back().out = sub.front().out;
    }
    path->subPaths.push_back(std::move(sub));
  }
  if (path->subPaths.empty()) return;
  int64_t ordinal = 0;
  size_t next = 0;
  for (SubPath& sub : path->subPaths) {
    for (PathNode& node : sub) {
      while (next < state.cusps.size() && state.cusps[next] < ordinal) ++next;
      if (next < state.cusps.size() && state.cusps[next] == ordinal) node.flags |= kNodeCusp;
      ++ordinal;
    }
  }
  if (stroke) {
    path->penStyle = kPenSolid;
    path->lineWidth = int32_t(state.width);
    path->penColor = state.stroke;
  } else {
    // Files of older writers leave out the line of a path without one.
    path->penStyle = kPenNull;
    path->lineWidth = state.strokeSeen && state.widthSeen ? int32_t(state.width) : 0;
    path->penColor = state.strokeSeen ? state.stroke : state.fill;
  }
  if (fill) {
    path->brushStyle = state.dotted ? kBrushDotted : kBrushSolid;
    shape->fillColor = state.fill;
  } else {
    path->brushStyle = kBrushNull;
    shape->fillColor = state.fillSeen ? state.fill : 0;
  }
  shape->groupId = 0;
  shape->pageIndex = page;
  drawing_.Add(std::move(shape));
}

void DocumentReader::ReadText(std::string_view data, size_t* pos, int type, int page) {
  auto shape = std::make_unique<Shape>(KindText);
  TextContent* text = shape->text();
  text->textType = type;
  text->size = 16.0f;
  std::vector<PointF> box;
  bool fillSeen = false, strokeSeen = false, softBreak = false;
  ColorRef fill = 0, stroke = 0;
  int moves = 0;
  double angle = 0.0;
  std::string_view line;
  while (ReadLine(data, pos, &line)) {
    if (line == "ET" || line == "endobj") break;
    const std::string_view op = OperatorOf(line);
    if (op == "DP" && Contains(line, "/Alignment")) {
      std::string_view c = line.substr(line.find("/Alignment") + 10);
      int64_t a = 0;
      (void)ParseInteger(&c, &a);
      text->alignment = a == 2 ? kAlignCenter : a == 3 ? kAlignRight : kAlignLeft;
    } else if (type == kTextParagraph && (op == "m" || op == "l") && line.size() > 1) {
      double p[2];
      if (OperandsOf(line, 2, p)) box.push_back(Flip(p[0], p[1]));
    } else if (op == "rg") {
      fillSeen = ReadColor(line, &fill) || fillSeen;
    } else if (op == "RG") {
      strokeSeen = ReadColor(line, &stroke) || strokeSeen;
    } else if (op == "Tf") {
      std::string_view c = line;
      const size_t f = c.find("/F");
      int64_t index = -1;
      double size = 16.0;
      if (f != std::string_view::npos) {
        c.remove_prefix(f + 2);
        if (!ParseInteger(&c, &index)) index = -1;
        if (!ParseNumber(&c, &size) || !(size >= 0.0) || size > 1e6) size = 16.0;
      }
      text->size = float(size);
      if (index >= kFontResourceBase && uint64_t(index - kFontResourceBase) < fontNames_.size()) {
        const std::string& name = fontNames_[size_t(index - kFontResourceBase)];
        const size_t comma = name.find(',');
        const std::string_view style = comma == std::string::npos ? std::string_view() : std::string_view(name).substr(comma);
        if (Contains(style, "Bold")) text->styleBits |= kTextBold;
        if (Contains(style, "Italic")) text->styleBits |= kTextItalic;
        text->faceName = PostScriptToFace(WidenLatin1(std::string_view(name).substr(0, comma)));
      }
    } else if (op == "Tm") {
      double m[6];
      if (OperandsOf(line, 6, m)) {
        const double deg = std::fabs(m[0]) < 1e-8 ? 90.0 * m[1] : std::atan2(m[1], m[0]) * kRadToDeg;
        angle = NormalizeTextAngle(deg);
        text->anchor = Flip(m[4], m[5]);
      }
    } else if (op == "Tj") {
      const size_t open = line.find('('), close = line.rfind(')');
      // A line without its parentheses carries no text.
      if (open != std::string_view::npos && close != std::string_view::npos && close > open)
        text->text += ReadStringBody(line.substr(open + 1, close - open - 1));
    } else if (op == "Td") {
      if (moves++ > 0 && !softBreak) text->text += u"\r\n";
      softBreak = false;
    } else if (line == "%SoftBreak") {
      softBreak = true;
    } else if (line == "%Underline") {
      text->styleBits |= kTextUnderline;
    }
  }

  // Back from the first baseline to the top of the text.
  const double a = angle * kDegToRad;
  text->anchor.x -= float(std::sin(a) * text->size);
  text->anchor.y -= float(std::cos(a) * text->size);
  text->angle = float(angle);
  if (type == kTextParagraph) {
    text->angle = 0.0f;
    // The writer's box: four corners, closed by a fifth equal to the first.
    if (box.size() == 5 && PointsEqual(box.front(), box.back())) box.pop_back();
    if (box.size() == 4) {
      RectF r = EmptyUnionStart();
      for (PointF p : box) GrowBy(r, p);
      text->anchor = {r.xmin, r.ymin};
      text->corner = {r.xmax, r.ymax};
    } else {
      text->textType = kTextArtistic;
      const RectF b = text->ComputeBounds();
      text->textType = kTextParagraph;
      text->corner = {text->anchor.x + (b.xmax - b.xmin), text->anchor.y + (b.ymax - b.ymin)};
    }
  }
  if (text->styleBits & kTextUnderline) skipNextPath_ = true;
  shape->fillColor = fillSeen ? fill : strokeSeen ? stroke : 0;
  shape->pageIndex = page;
  drawing_.Add(std::move(shape));
}

void DocumentReader::ReadImage(std::string_view line, int page) {
  const RectF p = placement_;
  // A flipped picture is placed with a negative width or height. One of
  // (nearly) no size shows nothing and would not survive the conversion to
  // model units and back.
  auto extent = [](float a, float b) {
    return std::fabs(double(b) - a) >= 1e-3 + 1e-5 * std::max(std::fabs(double(a)), std::fabs(double(b)));
  };
  if (!extent(p.xmin, p.xmax) || !extent(p.ymin, p.ymax)) return;
  std::string_view c = line.substr(line.find("/Im") + 3);
  int64_t object;
  if (!ParseInteger(&c, &object)) return;
  const int64_t entry = object - treeObjects_ - 3;
  if (entry < 0 || uint64_t(entry) >= offsets_.size()) return;

  const StreamInfo info = ReadStreamDictionary(offsets_[size_t(entry)]);
  if (!info.hasStream || info.width <= 0 || info.height <= 0 || info.length <= 0) return;
  if (info.width > INT32_MAX || info.height > INT32_MAX) return;
  const uint64_t need = uint64_t(info.width) * uint64_t(info.height);
  if (need > kMaxSampleBytes / 3) return;
  const uint64_t bytes = need * 3;
  const uint64_t left = bytes_.size() - info.dataStart;

  std::string inflated;
  std::string_view samples;
  if (info.compressed) {
    if (uint64_t(info.length) > left) return;
    if (Inflate(bytes_.substr(info.dataStart, size_t(info.length)), bytes, &inflated) != InflateResult::kOk ||
        inflated.size() != bytes)
      return;
    samples = inflated;
  } else {
    if (bytes > left) return;
    samples = bytes_.substr(info.dataStart, size_t(bytes));
    size_t after = info.dataStart + size_t(bytes);
    std::string_view next;
    if (!ReadLine(bytes_, &after, &next) || !StartsWith(next, "endstream")) return;
  }
  auto shape = std::make_unique<Shape>(KindImage);
  if (!RgbToDib(samples, int(info.width), int(info.height), &shape->image()->dib)) return;
  shape->image()->placement = p;
  shape->pageIndex = page;
  drawing_.Add(std::move(shape));
}

}  // namespace zel

#include "render/shape_renderer.h"

#include <algorithm>
#include <cstdint>

#include "render/rect_ops.h"

namespace zel {

namespace {

// The initial objects of a pass.
constexpr Pen kPassPen{PS_SOLID, 0, 0x000000};
constexpr Brush kPassBrush{BS_SOLID, 0x000000, 0};

int ClampToInt(int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

ShapeRenderer::ShapeRenderer(Surface& dc, const Viewport& vp) : dc_(dc), vp_(vp), pen_(kPassPen), brush_(kPassBrush) {
  oldPen_ = dc_.SelectPen(pen_);
  oldBrush_ = dc_.SelectBrush(brush_);
}

ShapeRenderer::~ShapeRenderer() {
  dc_.SelectPen(oldPen_);
  dc_.SelectBrush(oldBrush_);
}

void ShapeRenderer::UsePen(const Pen& pen) {
  if (pen == pen_) return;
  pen_ = pen;
  dc_.SelectPen(pen_);
}

void ShapeRenderer::UseBrush(const Brush& brush) {
  if (brush == brush_) return;
  brush_ = brush;
  dc_.SelectBrush(brush_);
}

void ShapeRenderer::DrawShape(const Shape& shape, const IntRect& clip) {
  const RectF& b = shape.bounds;
  IntRect r = Normalized(IntRect{vp_.toScreenX(b.xmin), vp_.toScreenY(b.ymin), vp_.toScreenX(b.xmax),
                                 vp_.toScreenY(b.ymax)});
  // One pixel of slack on every side: an outline may reach past the bounds.
  if (!IntersectRect(nullptr, InflateRect(r, 1, 1), Normalized(clip))) return;
  DrawShape(shape);
}

void ShapeRenderer::DrawShape(const Shape& shape) {
  if (const PathContent* path = shape.path()) {
    DrawPath(shape, *path);
  } else if (const TextContent* text = shape.text()) {
    DrawText(shape, *text);
  } else if (const ImageContent* image = shape.image()) {
    DrawImage(*image);
  }
}

void ShapeRenderer::DrawPath(const Shape& shape, const PathContent& path) {
  // The pen never grows beyond the stored width in pixels, so a Thick line
  // stays 9 pixels wide however far one zooms in.
  int64_t pixels = int64_t(vp_.toScreenX(float(path.lineWidth))) - vp_.toScreenX(0.0f);
  UsePen(Pen{path.penStyle, int(std::min<int64_t>(pixels, path.lineWidth)), path.penColor});
  UseBrush(Brush{path.brushStyle, shape.fillColor, 0});

  points_.clear();
  counts_.clear();
  for (const PolyPoints& contour : path.flattened) {
    if (contour.size() < 2) continue;
    for (const PointF& p : contour) points_.push_back(vp_.toScreen(p));
    counts_.push_back(int(contour.size()));
  }
  if (counts_.empty()) return;

  auto outlines = [&] {
    size_t start = 0;
    for (int n : counts_) {
      dc_.Polyline(points_.data() + start, size_t(n));
      start += size_t(n);
    }
  };
  if (path.brushStyle == kBrushNull) {
    outlines();
  } else if (counts_.size() > 1 || path.brushStyle == kBrushDotted) {
    if (DibImage* bitmap = dc_.bitmap()) {
      filler_.fill(*bitmap, points_.data(), points_.size(), counts_.data(), int(counts_.size()), shape.fillColor,
                   path.brushStyle == kBrushDotted);
    }
    outlines();
  } else {
    dc_.Polygon(points_.data(), points_.size());
  }
}

void ShapeRenderer::DrawImage(const ImageContent& image) {
  const DibImage& dib = image.dib;
  if (!dib.IsDrawable()) return;
  const RectF& pl = image.placement;  // x0, x1, y0, y1: top-left to bottom-right
  int x = vp_.toScreenX(pl.xmin), y = vp_.toScreenY(pl.ymin);
  int w = ClampToInt(int64_t(vp_.toScreenX(pl.xmax)) - x);
  int h = ClampToInt(int64_t(vp_.toScreenY(pl.ymax)) - y);
  int rows = dib.header.height < 0 ? -dib.header.height : dib.header.height;
  // The surface is never palette-based, so a picture's palette needs no
  // realising: its colour table is applied pixel by pixel.
  dc_.StretchDIBits(x, y, w, h, 0, 0, dib.header.width, rows, dib, image.rasterOp);
}

void RenderPage(const Drawing& drawing, Surface& dc, const Viewport& vp, const IntRect& clip, int page) {
  if (page < 0 || page >= drawing.PageCount()) return;
  ShapeRenderer renderer(dc, vp);
  for (int i = 0; i < drawing.Count(); ++i) {
    const Shape* shape = drawing.GetShape(i);
    if (shape && shape->pageIndex == page) renderer.DrawShape(*shape, clip);
  }
}

}  // namespace zel

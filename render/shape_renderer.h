// Painting shapes onto a surface through a viewport.
//
// One ShapeRenderer is one render pass: it selects its own pen and brush,
// re-creates them only when a shape's style differs from the last one, and
// puts back the surface's previous pen and brush when it ends. Paths come
// from their flattened cache; paths with holes or the dotted brush go to the
// polygon-set filler, which writes the surface's bitmap directly.
#pragma once

#include <memory>
#include <vector>

#include "model/drawing.h"
#include "model/shape.h"
#include "model/viewport.h"
#include "render/poly_poly_fill.h"
#include "render/surface.h"

namespace zel {

class ShapeRenderer {
 public:
  ShapeRenderer(Surface& dc, const Viewport& vp);
  ~ShapeRenderer();
  ShapeRenderer(const ShapeRenderer&) = delete;
  ShapeRenderer& operator=(const ShapeRenderer&) = delete;

  // Draws the shape when its pixel bounds, grown by one pixel, meet clip.
  void DrawShape(const Shape& shape, const IntRect& clip);
  // Draws the shape by its kind; placeholders draw nothing.
  void DrawShape(const Shape& shape);

  void DrawPath(const Shape& shape, const PathContent& path);
  void DrawText(const Shape& shape, const TextContent& text);
  void DrawImage(const ImageContent& image);

 private:
  void UsePen(const Pen& pen);
  void UseBrush(const Brush& brush);
  void DrawArtisticText(const TextContent& text, const Font& font);
  void DrawParagraphText(const TextContent& text, const Font& font, const Font& design);

  Surface& dc_;
  Viewport vp_;  // a copy: a pass may outlive the caller's temporary
  Pen oldPen_;
  Brush oldBrush_;
  Pen pen_;
  Brush brush_;
  CPolyPolyFill filler_;
  std::vector<IntPoint> points_;
  std::vector<int> counts_;
};

// Draws every shape of the page whose pixel bounds meet clip, bottom first.
// Nothing when page is not below the page count.
void RenderPage(const Drawing& drawing, Surface& dc, const Viewport& vp, const IntRect& clip, int page);

}  // namespace zel

#include "docformat/pdf_units.h"

namespace zel {

namespace {

// Text is converted by hand: going through the shape transform would clamp
// the size of artistic text at 3 units in both directions (small text would
// grow on every save) and give paragraph boxes a minimum size.
void ConvertText(TextContent& text, const Transform& t, float factor) {
  text.anchor = t.Apply(text.anchor);
  if (text.paragraph()) text.corner = t.Apply(text.corner);
  text.size *= factor;
}

void ConvertAll(Drawing& drawing, const Transform& t, float factor, bool textBounds) {
  for (int i = 0; i < drawing.Count(); ++i) {
    Shape* shape = drawing.GetShape(i);
    if (!shape) continue;
    if (TextContent* text = shape->text()) {
      ConvertText(*text, t, factor);
      if (textBounds) shape->UpdateBounds();
    } else {
      shape->Transform(t);
    }
  }
}

}  // namespace

void ConvertToPoints(Drawing& drawing) {
  const PageSize page = drawing.GetPageSize();
  // The operation added last acts first: move by (+W/2, -H/2), then scale.
  Transform t;
  t.Scale(kModelToPoints, kModelToPoints);
  t.Translate(-page.width / 2, page.height / 2);
  // The writer's copy never needs text bounds in points: measuring them
  // would only cost time.
  ConvertAll(drawing, t, kModelToPoints, false);
}

void ConvertFromPoints(Drawing& drawing) {
  const PageSize page = drawing.GetPageSize();
  // Scale first, then move by (-W/2, +H/2).
  Transform t;
  t.Translate(page.width / 2, -page.height / 2);
  t.Scale(kPointsToModel, kPointsToModel);
  ConvertAll(drawing, t, kPointsToModel, true);
}

}  // namespace zel

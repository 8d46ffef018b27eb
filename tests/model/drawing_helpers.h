// Small builders and comparisons for drawing, editing and undo tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/byte_stream.h"
#include "model/drawing.h"
#include "model/shape.h"

namespace zel::testing {

// A rectangle tagged by its fill colour, so tests can follow it through
// reorders: Tags(drawing) lists the tags in list order.
inline std::unique_ptr<Shape> Rect(ColorRef tag, float x, float y, float w = 10.0f,
                                   float h = 10.0f, int page = 0, int group = 0) {
  auto s = MakeRectangle(RectF{x, x + w, y, y + h});
  s->fillColor = tag;
  s->pageIndex = page;
  s->groupId = group;
  return s;
}

// A path of several closed square contours side by side.
inline std::unique_ptr<Shape> MultiPath(ColorRef tag, int contours, float x = 0.0f,
                                        float y = 0.0f) {
  auto s = std::make_unique<Shape>(KindPath);
  for (int c = 0; c < contours; ++c) {
    const float left = x + 20.0f * static_cast<float>(c);
    const PointF corners[5] = {
        {left, y}, {left + 10, y}, {left + 10, y + 10}, {left, y + 10}, {left, y}};
    SubPath nodes;
    for (PointF p : corners) nodes.push_back(PathNode{p, p, p, 0});
    s->path()->subPaths.push_back(nodes);
  }
  s->fillColor = tag;
  s->path()->lineWidth = 6;
  s->path()->penColor = 0x123456;
  s->UpdateBounds();
  return s;
}

inline std::unique_ptr<Shape> Text(ColorRef tag, float x, float y, const char16_t* text = u"Ab") {
  auto s = std::make_unique<Shape>(KindText);
  s->text()->text = text;
  s->text()->faceName = u"DejaVu Sans";
  s->text()->anchor = {x, y};
  s->fillColor = tag;
  s->UpdateBounds();
  return s;
}

inline std::unique_ptr<Shape> Image(ColorRef tag, float x, float y) {
  auto s = std::make_unique<Shape>(KindImage);
  EXPECT_TRUE(s->image()->dib.Create24(2, 2));
  s->image()->placement = RectF{x, x + 20, y, y + 20};
  s->fillColor = tag;
  s->UpdateBounds();
  return s;
}

inline std::vector<ColorRef> Tags(const Drawing& d) {
  std::vector<ColorRef> tags;
  for (int i = 0; i < d.Count(); ++i) tags.push_back(d.GetShape(i) ? d.GetShape(i)->fillColor : 0);
  return tags;
}

inline std::vector<int32_t> Groups(const Drawing& d) {
  std::vector<int32_t> ids;
  for (int i = 0; i < d.Count(); ++i) ids.push_back(d.GetShape(i)->groupId);
  return ids;
}

inline std::vector<int32_t> Pages(const Drawing& d) {
  std::vector<int32_t> pages;
  for (int i = 0; i < d.Count(); ++i) pages.push_back(d.GetShape(i)->pageIndex);
  return pages;
}

inline std::vector<uint8_t> ShapeBytes(const Shape& s) {
  ByteWriter w;
  s.Write(w);
  return w.bytes();
}

// The whole drawing as bytes: pages, page size, background and every
// shape's binary record in list order.
inline std::vector<uint8_t> Snapshot(const Drawing& d) {
  ByteWriter w;
  w.I32(d.PageCount());
  w.F32(d.GetPageSize().width);
  w.F32(d.GetPageSize().height);
  w.U32(d.BackgroundColor());
  w.I32(d.Count());
  for (int i = 0; i < d.Count(); ++i) d.GetShape(i)->Write(w);
  return w.bytes();
}

}  // namespace zel::testing

// Selection, deletion, the clipboard and moving the selection.
#include <algorithm>

#include "model/edit_ops.h"

namespace zel {

Selection ValidSelection(const Drawing& drawing, const Selection& selection) {
  std::vector<bool> seen(static_cast<size_t>(drawing.Count()), false);
  Selection out;
  out.reserve(selection.size());
  for (int i : selection) {
    if (!drawing.GetShape(i) || seen[static_cast<size_t>(i)]) continue;
    seen[static_cast<size_t>(i)] = true;
    out.push_back(i);
  }
  return out;
}

Selection SelectAll(const Drawing& drawing, int currentPage) {
  Selection out;
  for (int i = 0; i < drawing.Count(); ++i) {
    const Shape* s = drawing.GetShape(i);
    if (s && s->pageIndex == currentPage) out.push_back(i);
  }
  return out;
}

bool Delete(Drawing& drawing, Selection& selection) {
  const Selection valid = ValidSelection(drawing, selection);
  selection.clear();
  if (valid.empty()) return false;
  drawing.RemoveList(valid);
  return true;
}

bool Copy(const Drawing& drawing, const Selection& selection, Drawing& clipboard) {
  const Selection valid = ValidSelection(drawing, selection);
  if (valid.empty()) return false;
  clipboard.RemoveAll();
  for (int i : valid) clipboard.Add(drawing.GetShape(i)->Clone());
  clipboard.RenumberGroups();
  return true;
}

bool Cut(Drawing& drawing, Selection& selection, Drawing& clipboard) {
  if (!Copy(drawing, selection, clipboard)) return false;
  return Delete(drawing, selection);
}

bool Paste(Drawing& drawing, Selection& selection, Drawing& clipboard, int currentPage,
           PointF topLeft) {
  if (clipboard.Count() == 0) return false;
  currentPage = std::clamp(currentPage, 0, drawing.PageCount() - 1);
  // Pasted groups are numbered above the highest id in use instead of
  // renumbering the drawing first: the existing shapes stay untouched, so
  // undoing the paste gives back exactly the drawing it found.
  const int above = std::max(drawing.HighestGroupId(), 0);
  const int start = drawing.Count();
  for (int i = 0; i < clipboard.Count(); ++i) {
    Shape* s = clipboard.GetShape(i);
    if (!s) continue;
    s->pageIndex = currentPage;
    drawing.Add(s->Clone());
  }
  drawing.RenumberGroupsFrom(start, above);
  selection.clear();
  for (int i = start; i < drawing.Count(); ++i) selection.push_back(i);
  MoveTopLeftTo(drawing, selection, topLeft);
  return true;
}

void MoveTopLeftTo(Drawing& drawing, const Selection& selection, PointF topLeft) {
  const Selection valid = ValidSelection(drawing, selection);
  if (valid.empty()) return;
  RectF box = EmptyUnionStart();
  for (int i : valid) box = Union(box, drawing.GetShape(i)->bounds);
  const float dx = topLeft.x - box.xmin;
  const float dy = topLeft.y - box.ymin;
  if (dx == 0.0f && dy == 0.0f) return;
  Transform t;
  t.Translate(-dx, -dy);  // Translate moves points by minus its argument
  for (int i : valid) drawing.GetShape(i)->Transform(t);
}

void TransformSelection(Drawing& drawing, const Selection& selection, const Transform& t) {
  for (int i : ValidSelection(drawing, selection)) drawing.GetShape(i)->Transform(t);
}

}  // namespace zel

// Align the selected shapes (and their groups as units) on their union box.
#include <map>
#include <set>

#include "model/edit_ops.h"

namespace zel {

namespace {

PointF AlignDelta(const RectF& box, const RectF& ref, AlignCommand command) {
  switch (command) {
    case AlignCommand::Left: return {ref.xmin - box.xmin, 0.0f};
    case AlignCommand::Right: return {ref.xmax - box.xmax, 0.0f};
    case AlignCommand::Center:
      return {(ref.xmin + ref.xmax) / 2.0f - (box.xmin + box.xmax) / 2.0f, 0.0f};
    case AlignCommand::Top: return {0.0f, ref.ymin - box.ymin};
    case AlignCommand::Middle:
      return {0.0f, (ref.ymin + ref.ymax) / 2.0f - (box.ymin + box.ymax) / 2.0f};
    case AlignCommand::Bottom: return {0.0f, ref.ymax - box.ymax};
  }
  return {};
}

void MoveBy(Shape& shape, PointF d) {
  if (d.x == 0.0f && d.y == 0.0f) return;
  Transform t;
  t.Translate(-d.x, -d.y);
  shape.Transform(t);
}

std::set<int32_t> SelectedGroups(const Drawing& drawing, const Selection& valid) {
  std::set<int32_t> groups;
  for (int i : valid) {
    if (int32_t g = drawing.GetShape(i)->groupId; g != 0) groups.insert(g);
  }
  return groups;
}

}  // namespace

bool Align(Drawing& drawing, const Selection& selection, AlignCommand command) {
  const Selection valid = ValidSelection(drawing, selection);
  if (valid.size() < 2) return false;
  RectF ref = drawing.GetShape(valid[0])->bounds;
  for (size_t k = 1; k < valid.size(); ++k) ref = Union(ref, drawing.GetShape(valid[k])->bounds);

  for (int i : valid) {
    Shape& s = *drawing.GetShape(i);
    if (s.groupId == 0) MoveBy(s, AlignDelta(s.bounds, ref, command));
  }

  // A group's box covers all its members in the drawing, selected or not.
  const std::set<int32_t> groups = SelectedGroups(drawing, valid);
  if (groups.empty()) return true;
  std::map<int32_t, RectF> boxes;
  for (int i = 0; i < drawing.Count(); ++i) {
    const Shape* s = drawing.GetShape(i);
    if (!s || !groups.count(s->groupId)) continue;
    auto [it, fresh] = boxes.try_emplace(s->groupId, s->bounds);
    if (!fresh) it->second = Union(it->second, s->bounds);
  }
  // Groups move in ascending id order; each shape belongs to one group, so
  // the order does not change the result but keeps it reproducible.
  std::map<int32_t, PointF> deltas;
  for (const auto& [g, box] : boxes) deltas[g] = AlignDelta(box, ref, command);
  for (int i = 0; i < drawing.Count(); ++i) {
    Shape* s = drawing.GetShape(i);
    if (!s) continue;
    auto it = deltas.find(s->groupId);
    if (it != deltas.end()) MoveBy(*s, it->second);
  }
  return true;
}

Selection AlignedShapes(const Drawing& drawing, const Selection& selection) {
  Selection out = ValidSelection(drawing, selection);
  if (out.size() < 2) return {};
  const std::set<int32_t> groups = SelectedGroups(drawing, out);
  if (groups.empty()) return out;
  const std::set<int> chosen(out.begin(), out.end());
  for (int i = 0; i < drawing.Count(); ++i) {
    const Shape* s = drawing.GetShape(i);
    if (s && groups.count(s->groupId) && !chosen.count(i)) out.push_back(i);
  }
  return out;
}

}  // namespace zel

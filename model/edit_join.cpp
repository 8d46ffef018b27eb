// Join paths into one compound path, and break a path into its contours.
#include <algorithm>
#include <memory>

#include "model/edit_ops.h"

namespace zel {

namespace {

std::unique_ptr<Shape> NewPathLike(const Shape& model) {
  auto shape = std::make_unique<Shape>(KindPath);
  const PathContent* from = model.path();
  PathContent* to = shape->path();
  to->penStyle = from->penStyle;
  to->lineWidth = from->lineWidth;
  to->penColor = from->penColor;
  to->brushStyle = from->brushStyle;
  shape->fillColor = model.fillColor;
  shape->pageIndex = model.pageIndex;
  return shape;
}

}  // namespace

bool CanJoin(const Drawing& drawing, const Selection& selection) {
  const Selection valid = ValidSelection(drawing, selection);
  return valid.size() >= 2 && drawing.GetShape(valid[0])->path() != nullptr;
}

Selection JoinedPaths(const Drawing& drawing, const Selection& selection) {
  Selection paths;
  for (int i : ValidSelection(drawing, selection)) {
    if (drawing.GetShape(i)->path()) paths.push_back(i);
  }
  return paths;
}

bool Join(Drawing& drawing, Selection& selection) {
  if (!CanJoin(drawing, selection)) return false;
  const int joined = JoinPaths(drawing, JoinedPaths(drawing, selection));
  if (joined < 0) return false;
  selection.assign(1, joined);
  return true;
}

int JoinPaths(Drawing& drawing, const Selection& indices) {
  const Selection paths = JoinedPaths(drawing, indices);
  if (paths.empty() || indices.empty() || paths[0] != indices[0]) return -1;
  auto joined = NewPathLike(*drawing.GetShape(paths[0]));
  for (int i : paths) {
    const PathContent* from = drawing.GetShape(i)->path();
    joined->path()->subPaths.insert(joined->path()->subPaths.end(), from->subPaths.begin(),
                                    from->subPaths.end());
  }
  joined->UpdateBounds();
  // The first path's index counted before the removal: the removed paths
  // below it shift it down (in pick order they may lie on either side).
  const int below = static_cast<int>(
      std::count_if(paths.begin(), paths.end(), [&](int i) { return i < paths[0]; }));
  drawing.RemoveList(paths);
  const int at = std::clamp(paths[0] - below, 0, drawing.Count());
  drawing.InsertAt(at, std::move(joined));
  return at;
}

bool CanBreakApart(const Drawing& drawing, const Selection& selection) {
  const Selection valid = ValidSelection(drawing, selection);
  return valid.size() == 1 && drawing.GetShape(valid[0])->path() != nullptr;
}

bool BreakApart(Drawing& drawing, Selection& selection) {
  if (!CanBreakApart(drawing, selection)) return false;
  const int index = ValidSelection(drawing, selection)[0];
  const int pieces = BreakApartAt(drawing, index);
  selection.clear();
  for (int k = 0; k < pieces; ++k) selection.push_back(index + k);
  return true;
}

int BreakApartAt(Drawing& drawing, int index) {
  const Shape* broken = drawing.GetShape(index);
  if (!broken || !broken->path()) return -1;
  std::vector<IndexedShape> pieces;
  const auto& subPaths = broken->path()->subPaths;
  pieces.reserve(subPaths.size());
  for (size_t k = 0; k < subPaths.size(); ++k) {
    auto piece = NewPathLike(*broken);
    piece->groupId = broken->groupId;
    piece->path()->subPaths.push_back(subPaths[k]);
    piece->UpdateBounds();
    pieces.push_back({index + static_cast<int>(k), std::move(piece)});
  }
  const int count = static_cast<int>(pieces.size());
  drawing.RemoveRange(index, 1);
  drawing.InsertAscending(std::move(pieces));
  return count;
}

}  // namespace zel

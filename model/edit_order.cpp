// Grouping and z-order of the selection.
#include <algorithm>

#include "model/edit_ops.h"

namespace zel {

bool Group(Drawing& drawing, const Selection& selection) {
  const Selection valid = ValidSelection(drawing, selection);
  if (valid.empty()) return false;
  // Groups do not nest: the selected shapes leave their groups for a new one.
  const int fresh = drawing.RenumberGroups() + 1;
  for (int i : valid) drawing.GetShape(i)->groupId = fresh;
  return true;
}

bool Ungroup(Drawing& drawing, const Selection& selection) {
  const Selection valid = ValidSelection(drawing, selection);
  if (valid.empty()) return false;
  for (int i : valid) drawing.GetShape(i)->groupId = 0;
  return true;
}

bool Reorder(Drawing& drawing, Selection& selection, int target) {
  const Selection valid = ValidSelection(drawing, selection);
  if (valid.empty() || target < 0 || target > drawing.Count()) return false;
  if (std::find(valid.begin(), valid.end(), target) != valid.end()) return false;
  drawing.MoveListTo(target, valid);
  const int below = static_cast<int>(
      std::count_if(valid.begin(), valid.end(), [&](int i) { return i < target; }));
  const int first = target - below;
  selection.clear();
  for (int k = 0; k < static_cast<int>(valid.size()) && first + k < drawing.Count(); ++k) {
    selection.push_back(first + k);
  }
  return true;
}

bool BringToFront(Drawing& drawing, Selection& selection) {
  return Reorder(drawing, selection, drawing.Count());
}

bool SendToBack(Drawing& drawing, Selection& selection) { return Reorder(drawing, selection, 0); }

}  // namespace zel

// Record operations of the undo history: one payload writer per action.
//
// The public Record functions check what the caller hands them and record
// only a step that the matching operation will carry out; the Write
// functions build the payload as it stands and are shared with the replays,
// which must describe shapes or pages that do not exist yet.
#include <algorithm>
#include <cmath>

#include "model/undo_manager.h"

namespace zel {

namespace {

bool HoldsText(const Drawing& drawing, const Selection& indices) {
  return std::any_of(indices.begin(), indices.end(),
                     [&](int i) { return drawing.GetShape(i)->text() != nullptr; });
}

// Whether the inverse brings every selected shape's bounds corners back to
// within a hundredth of mm/10 (plus float rounding of large coordinates).
// A scale to almost nothing leaves no room for that, and its arithmetic
// undo would scatter the nodes, so such a step keeps the shapes instead.
bool UndoesExactly(const Drawing& drawing, const Selection& indices, const Transform& t) {
  Transform inverse;
  if (!t.GetInverse(&inverse)) return false;
  for (int i : indices) {
    const RectF& b = drawing.GetShape(i)->bounds;
    for (PointF p : {PointF{b.xmin, b.ymin}, PointF{b.xmax, b.ymin}, PointF{b.xmin, b.ymax},
                     PointF{b.xmax, b.ymax}}) {
      const PointF back = inverse.Apply(t.Apply(p));
      const double tolerance = 0.01 + 1e-5 * std::max(std::fabs(p.x), std::fabs(p.y));
      if (!(std::fabs(back.x - p.x) <= tolerance && std::fabs(back.y - p.y) <= tolerance)) {
        return false;
      }
    }
  }
  return true;
}

bool IsConsecutiveRun(const Selection& indices) {
  for (size_t k = 1; k < indices.size(); ++k) {
    if (indices[k] != indices[k - 1] + 1) return false;
  }
  return true;
}

}  // namespace

// --- Public record operations ------------------------------------------------

bool UndoManager::RecordChange(bool toUndo, const Selection& indices) {
  if (!drawing_) return false;
  const Selection valid = ValidSelection(*drawing_, indices);
  if (valid.empty()) return false;
  return WriteChange(toUndo, valid);
}

bool UndoManager::RecordDelete(bool toUndo, const Selection& indices) {
  if (!drawing_) return false;
  const Selection valid = ValidSelection(*drawing_, indices);
  if (valid.empty()) return false;
  return WriteDelete(toUndo, valid);
}

bool UndoManager::RecordReorderRun(bool toUndo, int target, int first, int count) {
  if (!drawing_ || count < 1 || first < 0 || first > drawing_->Count() - count || target < 0 ||
      target > drawing_->Count()) {
    return false;
  }
  ByteWriter w;
  w.I32(target);
  w.I32(first);
  w.I32(count);
  return Push(toUndo, UndoAction::ReorderRun, w);
}

bool UndoManager::RecordReorderAll(bool toUndo) {
  if (!drawing_) return false;
  ByteWriter w;
  w.U32(static_cast<uint32_t>(drawing_->Count()));
  for (int i = 0; i < drawing_->Count(); ++i) WriteShapeRecord(w, drawing_->GetShape(i));
  return Push(toUndo, UndoAction::ReorderAll, w);
}

bool UndoManager::RecordReorder(bool toUndo, int target, const Selection& selection) {
  if (!drawing_ || target < 0 || target > drawing_->Count()) return false;
  const Selection valid = ValidSelection(*drawing_, selection);
  if (valid.empty() || std::find(valid.begin(), valid.end(), target) != valid.end()) return false;
  const bool run = valid.size() == 1 || (IsConsecutiveRun(valid) &&
                                         (target < valid.front() || target > valid.back()));
  if (run) return RecordReorderRun(toUndo, target, valid.front(), static_cast<int>(valid.size()));
  return RecordReorderAll(toUndo);
}

bool UndoManager::RecordPaste(bool toUndo, int start, int count) {
  if (!drawing_ || count < 1 || start < 0) return false;
  return WritePaste(toUndo, start, count);
}

bool UndoManager::RecordAdd(bool toUndo, int count) {
  if (!drawing_ || count < 1) return false;
  return WriteAdd(toUndo, count);
}

bool UndoManager::RecordGroups(bool toUndo) {
  if (!drawing_) return false;
  ByteWriter w;
  WriteIntList(w, HistoryGroupList(*drawing_));
  return Push(toUndo, UndoAction::Groups, w);
}

bool UndoManager::RecordJoin(bool toUndo, const Selection& selection) {
  if (!drawing_ || !CanJoin(*drawing_, selection)) return false;
  return WriteJoin(toUndo, JoinedPaths(*drawing_, selection));
}

bool UndoManager::RecordBreakApart(bool toUndo, int index) {
  if (!drawing_) return false;
  const Shape* s = drawing_->GetShape(index);
  if (!s || !s->path()) return false;
  return WriteBreakApart(toUndo, index, static_cast<int>(s->path()->subPaths.size()));
}

bool UndoManager::RecordTransform(bool toUndo, const Selection& selection, const Transform& t) {
  if (!drawing_) return false;
  const Selection valid = ValidSelection(*drawing_, selection);
  if (valid.empty()) return false;
  if (HoldsText(*drawing_, valid) || !UndoesExactly(*drawing_, valid, t)) {
    return WriteChange(toUndo, valid);
  }
  return WriteTransform(toUndo, valid, t.Matrix());
}

bool UndoManager::RecordAlign(bool toUndo, const Selection& selection) {
  if (!drawing_) return false;
  const Selection moved = AlignedShapes(*drawing_, selection);
  if (moved.empty()) return false;
  return WriteChange(toUndo, moved);
}

bool UndoManager::RecordAddPage(bool toUndo, int count) {
  if (!drawing_ || count < 1) return false;
  ByteWriter w;
  w.I32(count);
  return Push(toUndo, UndoAction::AddPage, w);
}

bool UndoManager::RecordInsertPage(bool toUndo, int index, int count) {
  if (!drawing_ || count < 1 || index < 0) return false;
  ByteWriter w;
  w.I32(index);
  w.I32(count);
  return Push(toUndo, UndoAction::InsertPage, w);
}

bool UndoManager::RecordDeletePage(bool toUndo, int index, int count) {
  if (!drawing_ || drawing_->PageCount() < 2 || count < 1 || index < 0 ||
      index >= drawing_->PageCount()) {
    return false;
  }
  return WriteDeletePage(toUndo, index, count);
}

// --- Payload writers -------------------------------------------------------------

bool UndoManager::WriteChange(bool toUndo, const Selection& indices) {
  ByteWriter w;
  WriteIndexList(w, indices);
  for (int i : indices) WriteShapeRecord(w, drawing_->GetShape(i));
  return Push(toUndo, UndoAction::Change, w);
}

bool UndoManager::WriteDelete(bool toUndo, const Selection& indices) {
  ByteWriter w;
  WriteIndexList(w, indices);
  if (toUndo) {
    for (int i : indices) WriteShapeRecord(w, drawing_->GetShape(i));
  }
  return Push(toUndo, UndoAction::Delete, w);
}

bool UndoManager::WritePaste(bool toUndo, int start, int count) {
  ByteWriter w;
  w.I32(start);
  w.I32(count);
  if (!toUndo) {
    for (int i = start; i < start + count; ++i) WriteShapeRecord(w, drawing_->GetShape(i));
  }
  return Push(toUndo, UndoAction::Paste, w);
}

bool UndoManager::WriteAdd(bool toUndo, int count) {
  ByteWriter w;
  w.I32(count);
  if (!toUndo) {
    const int start = std::max(drawing_->Count() - count, 0);
    for (int i = start; i < drawing_->Count(); ++i) WriteShapeRecord(w, drawing_->GetShape(i));
  }
  return Push(toUndo, UndoAction::Add, w);
}

bool UndoManager::WriteJoin(bool toUndo, const Selection& paths) {
  ByteWriter w;
  WriteIndexList(w, paths);
  if (toUndo) {
    for (int i : paths) WriteShapeRecord(w, drawing_->GetShape(i));
  }
  return Push(toUndo, UndoAction::Join, w);
}

bool UndoManager::WriteBreakApart(bool toUndo, int index, int pieces) {
  ByteWriter w;
  w.I32(index);
  w.I32(pieces);
  if (toUndo) WriteShapeRecord(w, drawing_->GetShape(index));
  return Push(toUndo, UndoAction::BreakApart, w);
}

bool UndoManager::WriteTransform(bool toUndo, const Selection& indices, const float matrix[16]) {
  ByteWriter w;
  WriteIndexList(w, indices);
  for (int k = 0; k < 16; ++k) w.F32(matrix[k]);
  return Push(toUndo, UndoAction::Transform, w);
}

bool UndoManager::WriteDeletePage(bool toUndo, int index, int count) {
  ByteWriter w;
  w.I32(index);
  w.I32(count);
  const int64_t end = int64_t{index} + count;
  std::vector<int> onPages;
  if (toUndo) {
    for (int i = 0; i < drawing_->Count(); ++i) {
      const Shape* s = drawing_->GetShape(i);
      if (s && s->pageIndex >= index && s->pageIndex < end) onPages.push_back(i);
    }
  }
  w.U32(static_cast<uint32_t>(onPages.size()));
  for (int i : onPages) {
    w.I32(i);
    WriteShapeRecord(w, drawing_->GetShape(i));
  }
  return Push(toUndo, UndoAction::DeletePage, w);
}

}  // namespace zel

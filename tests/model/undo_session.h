// A stand-in for the view's command layer: each command records its undo
// step and then runs the operation, as the view does.
#pragma once

#include <algorithm>
#include <memory>

#include "model/drawing.h"
#include "model/edit_ops.h"
#include "model/undo_manager.h"

namespace zel::testing {

struct Session {
  Drawing drawing;
  Drawing clipboard;
  Selection selection;
  int page = 0;
  UndoManager history;

  Session() { history.Attach(&drawing, &selection, &page); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void DeleteCmd() {
    if (selection.empty()) return;
    history.RecordDelete(true, selection);
    Delete(drawing, selection);
  }
  void CutCmd() {
    if (selection.empty()) return;
    Copy(drawing, selection, clipboard);
    history.RecordDelete(true, selection);
    Delete(drawing, selection);
  }
  void CopyCmd() { Copy(drawing, selection, clipboard); }
  void PasteCmd(PointF at = {-300, -200}) {
    if (clipboard.Count() == 0) return;
    history.RecordPaste(true, drawing.Count(), clipboard.Count());
    Paste(drawing, selection, clipboard, page, at);
  }
  void JoinCmd() {
    if (history.RecordJoin(true, selection)) Join(drawing, selection);
  }
  void BreakApartCmd() {
    if (!CanBreakApart(drawing, selection)) return;
    history.RecordBreakApart(true, ValidSelection(drawing, selection)[0]);
    BreakApart(drawing, selection);
  }
  void GroupCmd() {
    history.RecordGroups(true);
    Group(drawing, selection);
  }
  void UngroupCmd() {
    history.RecordGroups(true);
    Ungroup(drawing, selection);
  }
  void ReorderCmd(bool front) {
    const int target = front ? drawing.Count() : 0;
    if (history.RecordReorder(true, target, selection)) Reorder(drawing, selection, target);
  }
  void AlignCmd(AlignCommand c) {
    if (history.RecordAlign(true, selection)) Align(drawing, selection, c);
  }
  void StyleCmd(StyleCommand c) {
    if (history.RecordChange(true, selection)) ApplyStyle(drawing, selection, c);
  }
  void TransformCmd(const Transform& t) {
    if (history.RecordTransform(true, selection, t)) TransformSelection(drawing, selection, t);
  }
  void AddShapeCmd(std::unique_ptr<Shape> shape) {
    shape->pageIndex = page;
    history.RecordAdd(true, 1);
    drawing.Add(std::move(shape));
  }
  void AddPageCmd() {
    history.RecordAddPage(true, 1);
    drawing.AddPages(1);
    page = drawing.PageCount() - 1;
    selection.clear();
  }
  void InsertPageCmd(bool after) {
    if (after) page += 1;
    history.RecordInsertPage(true, page, 1);
    drawing.InsertPages(page, 1);
    selection.clear();
  }
  void DeletePageCmd() {
    if (drawing.PageCount() < 2) return;
    history.RecordDeletePage(true, page, 1);
    drawing.DeletePages(page, 1);
    page = std::min(page, drawing.PageCount() - 1);
    selection.clear();
  }
  // A general reorder recorded with the whole drawing: reverse the list.
  void ReverseAllCmd() {
    history.RecordReorderAll(true);
    Selection all;
    for (int i = drawing.Count() - 1; i >= 0; --i) all.push_back(i);
    drawing.MoveListTo(0, all);
  }
};

}  // namespace zel::testing

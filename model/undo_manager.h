// Undo and redo history of one view, bounded by size.
//
// Every change is recorded before it is made as a compact binary action
// record on the undo stack. Undo replays the newest record backwards and
// Redo forwards; each replay first records the opposite action on the other
// stack. Each stack keeps at most kUndoStackLimit bytes of records and drops
// its oldest records beyond that; a single record larger than the bound is
// kept alone, so the step it describes can still be undone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/drawing.h"
#include "model/edit_ops.h"
#include "model/transform.h"
#include "model/undo_record.h"

namespace zel {

inline constexpr size_t kUndoStackLimit = 500000;

class UndoManager {
 public:
  UndoManager() = default;
  UndoManager(const UndoManager&) = delete;
  UndoManager& operator=(const UndoManager&) = delete;

  // Binds the history to the view's drawing, selection and current page and
  // empties it. Replays edit all three.
  void Attach(Drawing* drawing, Selection* selection, int* currentPage);
  void Clear();

  size_t UndoCount() const { return undo_.index.size(); }
  size_t RedoCount() const { return redo_.index.size(); }
  size_t UndoBytes() const { return undo_.stream.size(); }
  size_t RedoBytes() const { return redo_.stream.size(); }
  // Code of the newest undo record, -1 when there is none.
  int NextUndoAction() const { return undo_.index.empty() ? -1 : undo_.index.back().code; }

  // Record operations: toUndo true puts the record on the undo stack (what
  // editing code does before it changes the drawing), false on the redo
  // stack. Each returns whether a record was written.

  // The selected shapes' state before a change of styles, text, nodes.
  bool RecordChange(bool toUndo, const Selection& indices);
  bool RecordDelete(bool toUndo, const Selection& indices);
  bool RecordReorderRun(bool toUndo, int target, int first, int count);
  bool RecordReorderAll(bool toUndo);
  // Picks the run record when the selection is one index other than target,
  // or a consecutive ascending run that target lies outside; otherwise the
  // whole-drawing record.
  bool RecordReorder(bool toUndo, int target, const Selection& selection);
  bool RecordPaste(bool toUndo, int start, int count);
  bool RecordAdd(bool toUndo, int count);
  bool RecordGroups(bool toUndo);
  // Records only when Join will act (CanJoin).
  bool RecordJoin(bool toUndo, const Selection& selection);
  // Records only when index is a path that Break Apart can split.
  bool RecordBreakApart(bool toUndo, int index);
  // The matrix and indices; undone with the inverse matrix. A matrix without
  // an inverse, or a selection holding text (its size clamp cannot be
  // inverted), records the shapes' prior state instead.
  bool RecordTransform(bool toUndo, const Selection& selection, const Transform& t);
  // The prior state of every shape Align moves (group members included).
  bool RecordAlign(bool toUndo, const Selection& selection);
  bool RecordAddPage(bool toUndo, int count);
  bool RecordInsertPage(bool toUndo, int index, int count);
  bool RecordDeletePage(bool toUndo, int index, int count);

  // Replay the newest step. False when there was none or it could not be read.
  bool Undo() { return Replay(true); }
  bool Redo() { return Replay(false); }

 private:
  struct Entry {
    uint32_t offset = 0;
    uint32_t length = 0;
    uint16_t code = 0;
  };
  struct Stack {
    std::vector<uint8_t> stream;
    std::vector<Entry> index;
    void Clear() {
      stream.clear();
      index.clear();
    }
  };

  bool Push(bool toUndo, UndoAction code, const ByteWriter& payload);
  void Trim(Stack& stack);
  bool Replay(bool undo);

  // Payload writers without the callers' preconditions, shared with replays.
  bool WriteChange(bool toUndo, const Selection& indices);
  bool WriteDelete(bool toUndo, const Selection& indices);
  bool WritePaste(bool toUndo, int start, int count);
  bool WriteAdd(bool toUndo, int count);
  bool WriteJoin(bool toUndo, const Selection& paths);
  bool WriteBreakApart(bool toUndo, int index, int pieces);
  bool WriteTransform(bool toUndo, const Selection& indices, const float matrix[16]);
  bool WriteDeletePage(bool toUndo, int index, int count);

  // One replay per action; `undo` gives the direction. The opposite record
  // goes to the other stack first.
  bool ReplayChange(ByteReader& r, bool undo);
  bool ReplayDelete(ByteReader& r, bool undo);
  bool ReplayReorderRun(ByteReader& r, bool undo);
  bool ReplayPaste(ByteReader& r, bool undo);
  bool ReplayReorderAll(ByteReader& r, bool undo);
  bool ReplayAdd(ByteReader& r, bool undo);
  bool ReplayGroups(ByteReader& r, bool undo);
  bool ReplayJoin(ByteReader& r, bool undo);
  bool ReplayBreakApart(ByteReader& r, bool undo);
  bool ReplayTransform(ByteReader& r, bool undo);
  bool ReplayAddPage(ByteReader& r, bool undo);
  bool ReplayInsertPage(ByteReader& r, bool undo);
  bool ReplayDeletePage(ByteReader& r, bool undo);
  // Records the opposite action while a replay runs: the redo stack is not
  // emptied by it.
  template <typename F>
  bool RecordOpposite(F&& record) {
    clearRedoOnRecord_ = false;
    const bool ok = record();
    clearRedoOnRecord_ = true;
    return ok;
  }

  Drawing* drawing_ = nullptr;
  Selection* selection_ = nullptr;
  int* currentPage_ = nullptr;
  Stack undo_;
  Stack redo_;
  bool clearRedoOnRecord_ = true;
};

}  // namespace zel

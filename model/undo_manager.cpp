// The two record stacks of the undo history: pushing, trimming, replaying.
#include "model/undo_manager.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace zel {

void UndoManager::Attach(Drawing* drawing, Selection* selection, int* currentPage) {
  drawing_ = drawing;
  selection_ = selection;
  currentPage_ = currentPage;
  Clear();
}

void UndoManager::Clear() {
  undo_.Clear();
  redo_.Clear();
}

bool UndoManager::Push(bool toUndo, UndoAction code, const ByteWriter& payload) {
  Stack& stack = toUndo ? undo_ : redo_;
  constexpr size_t kMaxOffset = std::numeric_limits<uint32_t>::max();
  if (payload.size() > kMaxOffset - stack.stream.size()) {
    // Offsets are 32-bit; a history that cannot describe this step would
    // replay the wrong one later, so it is dropped altogether.
    Clear();
    return false;
  }
  if (toUndo && clearRedoOnRecord_) redo_.Clear();
  stack.index.push_back({static_cast<uint32_t>(stack.stream.size()),
                         static_cast<uint32_t>(payload.size()), static_cast<uint16_t>(code)});
  stack.stream.insert(stack.stream.end(), payload.bytes().begin(), payload.bytes().end());
  Trim(undo_);
  Trim(redo_);
  return true;
}

void UndoManager::Trim(Stack& stack) {
  if (stack.stream.size() <= kUndoStackLimit || stack.index.size() < 2) return;
  // Keep the records from the first one (after the oldest) that starts
  // within the last kUndoStackLimit bytes. When none does, the newest record
  // alone is larger than the bound and stays by itself: keeping one older
  // record beside it would leave the stack above the bound.
  const size_t floor = stack.stream.size() - kUndoStackLimit;
  size_t keep = stack.index.size() - 1;
  for (size_t k = 1; k < stack.index.size(); ++k) {
    if (stack.index[k].offset > floor) {
      keep = k;
      break;
    }
  }
  const uint32_t dropped = stack.index[keep].offset;
  std::memmove(stack.stream.data(), stack.stream.data() + dropped, stack.stream.size() - dropped);
  stack.stream.resize(stack.stream.size() - dropped);
  stack.index.erase(stack.index.begin(), stack.index.begin() + static_cast<ptrdiff_t>(keep));
  for (Entry& e : stack.index) e.offset -= dropped;
  // A huge record once held must not pin its memory for the life of the view.
  if (stack.stream.capacity() > 2 * kUndoStackLimit && stack.stream.size() <= kUndoStackLimit) {
    stack.stream.shrink_to_fit();
  }
}

bool UndoManager::Replay(bool undo) {
  Stack& from = undo ? undo_ : redo_;
  if (!drawing_ || !selection_ || from.index.empty()) return false;
  const Entry entry = from.index.back();
  if (size_t{entry.offset} + entry.length > from.stream.size()) return false;
  // The payload leaves its stack before the replay records onto the other.
  std::vector<uint8_t> payload(from.stream.begin() + entry.offset,
                               from.stream.begin() + entry.offset + entry.length);
  from.stream.resize(entry.offset);
  from.index.pop_back();
  if (from.stream.capacity() > 2 * kUndoStackLimit && from.stream.size() <= kUndoStackLimit) {
    from.stream.shrink_to_fit();
  }

  ByteReader r(payload);
  bool ok = false;
  switch (static_cast<UndoAction>(entry.code)) {
    case UndoAction::Change: ok = ReplayChange(r, undo); break;
    case UndoAction::Delete: ok = ReplayDelete(r, undo); break;
    case UndoAction::ReorderRun: ok = ReplayReorderRun(r, undo); break;
    case UndoAction::Paste: ok = ReplayPaste(r, undo); break;
    case UndoAction::ReorderAll: ok = ReplayReorderAll(r, undo); break;
    case UndoAction::Add: ok = ReplayAdd(r, undo); break;
    case UndoAction::Groups: ok = ReplayGroups(r, undo); break;
    case UndoAction::Join: ok = ReplayJoin(r, undo); break;
    case UndoAction::BreakApart: ok = ReplayBreakApart(r, undo); break;
    case UndoAction::Transform: ok = ReplayTransform(r, undo); break;
    case UndoAction::AddPage: ok = ReplayAddPage(r, undo); break;
    case UndoAction::InsertPage: ok = ReplayInsertPage(r, undo); break;
    case UndoAction::DeletePage: ok = ReplayDeletePage(r, undo); break;
    case UndoAction::Replace: break;
  }
  // The replay leaves the affected indices selected, unless any of them no
  // longer names a shape.
  for (int i : *selection_) {
    if (i < 0 || i >= drawing_->Count()) {
      selection_->clear();
      break;
    }
  }
  if (currentPage_) *currentPage_ = std::clamp(*currentPage_, 0, drawing_->PageCount() - 1);
  return ok;
}

}  // namespace zel

// Replays of the undo history's records, in both directions.
//
// Each replay reads its whole payload first, so a short record changes
// nothing; then it records the opposite action on the other stack
// (describing the same shapes or pages as they are now) and changes the
// drawing. Shapes come back with the group ids they were recorded with: the
// history is replayed strictly newest first, so the drawing around them is
// the one they left, and their groups rejoin exactly the shapes they were
// grouped with.
#include <algorithm>

#include "model/undo_manager.h"

namespace zel {

namespace {

// Shape records are at least the four header words long.
constexpr size_t kMinShapeRecord = 16;

bool ReadShapes(ByteReader& r, size_t n, std::vector<std::unique_ptr<Shape>>* shapes) {
  if (n > r.remaining() / kMinShapeRecord) return false;
  shapes->clear();
  for (size_t k = 0; k < n; ++k) {
    auto shape = ReadShapeRecord(r);
    if (!shape) return false;
    shapes->push_back(std::move(shape));
  }
  return true;
}

// Pairs indices with their shapes in ascending index order for InsertAscending.
std::vector<IndexedShape> Ascending(const Selection& indices,
                                    std::vector<std::unique_ptr<Shape>> shapes) {
  std::vector<IndexedShape> items;
  items.reserve(shapes.size());
  for (size_t k = 0; k < shapes.size(); ++k) items.push_back({indices[k], std::move(shapes[k])});
  std::stable_sort(items.begin(), items.end(),
                   [](const IndexedShape& a, const IndexedShape& b) { return a.index < b.index; });
  return items;
}

Selection Range(int first, int count) {
  Selection out;
  for (int k = 0; k < count; ++k) out.push_back(first + k);
  return out;
}

}  // namespace

bool UndoManager::ReplayChange(ByteReader& r, bool undo) {
  Selection indices;
  std::vector<std::unique_ptr<Shape>> shapes;
  if (!ReadIndexList(r, &indices) || !ReadShapes(r, indices.size(), &shapes)) return false;
  RecordOpposite([&] { return WriteChange(!undo, indices); });
  for (size_t k = 0; k < indices.size(); ++k) {
    (void)drawing_->SetShape(indices[k], std::move(shapes[k]));
  }
  *selection_ = indices;
  return true;
}

bool UndoManager::ReplayDelete(ByteReader& r, bool undo) {
  Selection indices;
  if (!ReadIndexList(r, &indices)) return false;
  if (undo) {
    std::vector<std::unique_ptr<Shape>> shapes;
    if (!ReadShapes(r, indices.size(), &shapes)) return false;
    std::vector<IndexedShape> items = Ascending(indices, std::move(shapes));
    Selection sorted;
    for (const IndexedShape& item : items) sorted.push_back(item.index);
    RecordOpposite([&] { return WriteDelete(false, sorted); });
    drawing_->InsertAscending(std::move(items));
  } else {
    RecordOpposite([&] { return WriteDelete(true, indices); });
    drawing_->RemoveList(indices);
  }
  selection_->clear();
  return true;
}

bool UndoManager::ReplayReorderRun(ByteReader& r, bool undo) {
  int32_t target = 0, first = 0, count = 0;
  if (!r.I32(&target) || !r.I32(&first) || !r.I32(&count) || count < 1) return false;
  RecordOpposite([&] {
    ByteWriter w;
    w.I32(target);
    w.I32(first);
    w.I32(count);
    return Push(!undo, UndoAction::ReorderRun, w);
  });
  // Where the run lies after the forward move.
  const int below = std::clamp(target - first, 0, count);
  const int moved = target - below;
  if (undo) {
    drawing_->MoveListTo(first < moved ? first : first + count, Range(moved, count));
    *selection_ = Range(first, count);
  } else {
    drawing_->MoveListTo(target, Range(first, count));
    *selection_ = Range(moved, count);
  }
  return true;
}

bool UndoManager::ReplayPaste(ByteReader& r, bool undo) {
  int32_t start = 0, count = 0;
  if (!r.I32(&start) || !r.I32(&count) || start < 0 || count < 0) return false;
  if (undo) {
    RecordOpposite([&] { return WritePaste(false, start, count); });
    drawing_->RemoveRange(start, count);
    selection_->clear();
    return true;
  }
  std::vector<std::unique_ptr<Shape>> shapes;
  if (!ReadShapes(r, static_cast<size_t>(count), &shapes)) return false;
  RecordOpposite([&] { return WritePaste(true, start, count); });
  selection_->clear();
  for (auto& shape : shapes) {
    selection_->push_back(drawing_->Count());
    drawing_->Add(std::move(shape));
  }
  return true;
}

bool UndoManager::ReplayReorderAll(ByteReader& r, bool undo) {
  uint32_t count = 0;
  std::vector<std::unique_ptr<Shape>> shapes;
  if (!r.U32(&count) || !ReadShapes(r, count, &shapes)) return false;
  RecordOpposite([&] { return RecordReorderAll(!undo); });
  drawing_->RemoveAll();
  for (auto& shape : shapes) drawing_->Add(std::move(shape));
  return true;
}

bool UndoManager::ReplayAdd(ByteReader& r, bool undo) {
  int32_t count = 0;
  if (!r.I32(&count) || count < 0) return false;
  if (undo) {
    RecordOpposite([&] { return WriteAdd(false, count); });
    drawing_->RemoveRange(std::max(drawing_->Count() - count, 0), count);
    selection_->clear();
    return true;
  }
  std::vector<std::unique_ptr<Shape>> shapes;
  if (!ReadShapes(r, static_cast<size_t>(count), &shapes)) return false;
  RecordOpposite([&] { return WriteAdd(true, count); });
  selection_->clear();
  for (auto& shape : shapes) {
    selection_->push_back(drawing_->Count());
    drawing_->Add(std::move(shape));
  }
  return true;
}

bool UndoManager::ReplayGroups(ByteReader& r, bool undo) {
  std::vector<int32_t> list;
  if (!ReadIntList(r, &list)) return false;
  RecordOpposite([&] { return RecordGroups(!undo); });
  (void)drawing_->ApplyGroupList(list);
  return true;
}

bool UndoManager::ReplayJoin(ByteReader& r, bool undo) {
  Selection paths;
  if (!ReadIndexList(r, &paths) || paths.empty()) return false;
  if (!undo) {
    RecordOpposite([&] { return WriteJoin(true, paths); });
    const int joined = JoinPaths(*drawing_, paths);
    *selection_ = joined < 0 ? Selection{} : Selection{joined};
    return true;
  }
  std::vector<std::unique_ptr<Shape>> shapes;
  if (!ReadShapes(r, paths.size(), &shapes)) return false;
  // The joined path sits where JoinPaths put it.
  const int below = static_cast<int>(
      std::count_if(paths.begin(), paths.end(), [&](int i) { return i < paths[0]; }));
  const int joined = std::clamp(paths[0] - below, 0, std::max(drawing_->Count() - 1, 0));
  RecordOpposite([&] { return WriteJoin(false, paths); });
  drawing_->RemoveRange(joined, 1);
  drawing_->InsertAscending(Ascending(paths, std::move(shapes)));
  *selection_ = paths;
  return true;
}

bool UndoManager::ReplayBreakApart(ByteReader& r, bool undo) {
  int32_t index = 0, pieces = 0;
  if (!r.I32(&index) || !r.I32(&pieces) || pieces < 0) return false;
  if (!undo) {
    RecordOpposite([&] { return WriteBreakApart(true, index, pieces); });
    const int made = BreakApartAt(*drawing_, index);
    *selection_ = Range(index, std::max(made, 0));
    return true;
  }
  auto shape = ReadShapeRecord(r);
  if (!shape) return false;
  RecordOpposite([&] { return WriteBreakApart(false, index, pieces); });
  drawing_->RemoveRange(index, pieces);
  drawing_->InsertAt(index, std::move(shape));
  *selection_ = Selection{index};
  return true;
}

bool UndoManager::ReplayTransform(ByteReader& r, bool undo) {
  Selection indices;
  float m[16];
  if (!ReadIndexList(r, &indices)) return false;
  for (float& v : m) {
    if (!r.F32(&v)) return false;
  }
  Transform recorded;
  recorded.SetMatrix(m);
  Transform inverse;
  if (!recorded.GetInverse(&inverse)) return false;
  RecordOpposite([&] { return WriteTransform(!undo, indices, inverse.Matrix()); });
  TransformSelection(*drawing_, indices, inverse);
  *selection_ = indices;
  return true;
}

bool UndoManager::ReplayAddPage(ByteReader& r, bool undo) {
  int32_t count = 0;
  if (!r.I32(&count) || count < 1) return false;
  RecordOpposite([&] { return RecordAddPage(!undo, count); });
  if (undo) {
    drawing_->DeletePages(drawing_->PageCount() - count, count);
  } else {
    drawing_->AddPages(count);
  }
  if (currentPage_) *currentPage_ = drawing_->PageCount() - 1;
  selection_->clear();
  return true;
}

bool UndoManager::ReplayInsertPage(ByteReader& r, bool undo) {
  int32_t index = 0, count = 0;
  if (!r.I32(&index) || !r.I32(&count) || count < 1) return false;
  RecordOpposite([&] { return RecordInsertPage(!undo, index, count); });
  if (undo) {
    drawing_->DeletePages(index, count);
  } else {
    drawing_->InsertPages(index, count);
  }
  if (currentPage_) *currentPage_ = std::min(index, drawing_->PageCount() - 1);
  selection_->clear();
  return true;
}

bool UndoManager::ReplayDeletePage(ByteReader& r, bool undo) {
  int32_t index = 0, count = 0;
  uint32_t n = 0;
  if (!r.I32(&index) || !r.I32(&count) || !r.U32(&n) || count < 1) return false;
  if (!undo) {
    RecordOpposite([&] { return WriteDeletePage(true, index, count); });
    drawing_->DeletePages(index, count);
    if (currentPage_) *currentPage_ = std::min(index, drawing_->PageCount() - 1);
    selection_->clear();
    return true;
  }
  if (n > r.remaining() / (4 + kMinShapeRecord)) return false;
  std::vector<IndexedShape> items;
  for (uint32_t k = 0; k < n; ++k) {
    int32_t at = 0;
    if (!r.I32(&at)) return false;
    auto shape = ReadShapeRecord(r);
    if (!shape) return false;
    items.push_back({at, std::move(shape)});
  }
  std::stable_sort(items.begin(), items.end(),
                   [](const IndexedShape& a, const IndexedShape& b) { return a.index < b.index; });
  RecordOpposite([&] { return WriteDeletePage(false, index, count); });
  drawing_->InsertPages(index, count);
  drawing_->InsertAscending(std::move(items));
  if (currentPage_) *currentPage_ = std::min(index, drawing_->PageCount() - 1);
  selection_->clear();
  return true;
}

}  // namespace zel

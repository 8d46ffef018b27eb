// Payload pieces shared by the history's record writers and replays.
#include "model/undo_record.h"

#include <algorithm>
#include <unordered_map>

namespace zel {

namespace {
// Ids run above the shape count once groups were deleted. Ids up to twice
// the count plus this slack keep their values; each unused id costs one zero
// word, so the record stays proportional to the drawing.
constexpr int64_t kGroupIdSlack = 4096;
}  // namespace

void WriteIndexList(ByteWriter& w, const Selection& indices) {
  w.U32(static_cast<uint32_t>(indices.size()));
  for (int i : indices) w.I32(i);
}

bool ReadIndexList(ByteReader& r, Selection* indices) {
  uint32_t n = 0;
  if (!r.U32(&n) || n > r.remaining() / 4) return false;
  indices->resize(n);
  for (uint32_t k = 0; k < n; ++k) {
    if (!r.I32(&(*indices)[k])) return false;
  }
  return true;
}

void WriteShapeRecord(ByteWriter& w, const Shape* shape) {
  if (shape) {
    shape->Write(w);
  } else {
    Shape(KindPlaceholder).Write(w);
  }
}

std::unique_ptr<Shape> ReadShapeRecord(ByteReader& r) {
  auto shape = std::make_unique<Shape>();
  if (!shape->Read(r)) return nullptr;
  return shape;
}

std::vector<int32_t> HistoryGroupList(const Drawing& drawing) {
  const int n = drawing.Count();
  std::vector<int32_t> ids(static_cast<size_t>(n), 0);
  bool exact = true;
  const int64_t highestExact = 2 * int64_t{n} + kGroupIdSlack;
  for (int i = 0; i < n; ++i) {
    const Shape* s = drawing.GetShape(i);
    ids[static_cast<size_t>(i)] = s ? s->groupId : 0;
    if (ids[static_cast<size_t>(i)] < 0 || ids[static_cast<size_t>(i)] > highestExact) {
      exact = false;
    }
  }
  if (!exact) {
    // Ids from foreign files may be anything; keep the grouping, not the ids.
    std::unordered_map<int32_t, int32_t> renumber;
    int32_t next = 0;
    for (int32_t& g : ids) {
      if (g == 0) continue;
      auto [it, fresh] = renumber.try_emplace(g, 0);
      if (fresh) it->second = ++next;
      g = it->second;
    }
  }
  const int32_t groups = ids.empty() ? 0 : *std::max_element(ids.begin(), ids.end());
  std::vector<int32_t> counts(static_cast<size_t>(groups) + 1, 0);
  for (int32_t g : ids) ++counts[static_cast<size_t>(g)];
  // Slot of group g's count: one count word per earlier group plus its members.
  std::vector<size_t> next(static_cast<size_t>(groups) + 1, 0);
  size_t offset = 0;
  for (int32_t g = 1; g <= groups; ++g) {
    next[static_cast<size_t>(g)] = offset + 1;
    offset += 1 + static_cast<size_t>(counts[static_cast<size_t>(g)]);
  }
  std::vector<int32_t> list(offset, 0);
  for (int32_t g = 1; g <= groups; ++g) {
    list[next[static_cast<size_t>(g)] - 1] = counts[static_cast<size_t>(g)];
  }
  for (int i = 0; i < n; ++i) {
    const int32_t g = ids[static_cast<size_t>(i)];
    if (g != 0) list[next[static_cast<size_t>(g)]++] = i;
  }
  return list;
}

void WriteIntList(ByteWriter& w, const std::vector<int32_t>& list) {
  w.U32(static_cast<uint32_t>(list.size()));
  for (int32_t v : list) w.I32(v);
}

bool ReadIntList(ByteReader& r, std::vector<int32_t>* list) {
  uint32_t n = 0;
  if (!r.U32(&n) || n > r.remaining() / 4) return false;
  list->resize(n);
  for (uint32_t k = 0; k < n; ++k) {
    if (!r.I32(&(*list)[k])) return false;
  }
  return true;
}

}  // namespace zel

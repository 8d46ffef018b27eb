// The shape list of a Drawing: access, insertion, removal and reordering.
#include "model/drawing.h"

#include <algorithm>
#include <utility>

namespace zel {

Drawing::Drawing() = default;
Drawing::~Drawing() = default;
Drawing::Drawing(Drawing&&) noexcept = default;
Drawing& Drawing::operator=(Drawing&&) noexcept = default;

Shape* Drawing::GetShape(int i) {
  if (i < 0 || i >= Count()) return nullptr;
  return shapes_[static_cast<size_t>(i)].get();
}

const Shape* Drawing::GetShape(int i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return shapes_[static_cast<size_t>(i)].get();
}

void Drawing::Add(std::unique_ptr<Shape> shape) {
  if (shape) shapes_.push_back(std::move(shape));
}

bool Drawing::InsertAt(int i, std::unique_ptr<Shape> shape) {
  if (!shape || i < 0 || i > Count()) return false;
  shapes_.insert(shapes_.begin() + i, std::move(shape));
  return true;
}

bool Drawing::SetShape(int i, std::unique_ptr<Shape> shape) {
  if (!shape || i < 0 || i >= Count()) return false;
  shapes_[static_cast<size_t>(i)] = std::move(shape);
  return true;
}

std::unique_ptr<Shape> Drawing::TakeShape(int i) {
  if (i < 0 || i >= Count()) return nullptr;
  std::unique_ptr<Shape> shape = std::move(shapes_[static_cast<size_t>(i)]);
  shapes_.erase(shapes_.begin() + i);
  return shape;
}

void Drawing::RemoveRange(int i, int n) {
  if (i < 0 || i >= Count() || n <= 0) return;
  int end = n > Count() - i ? Count() : i + n;
  shapes_.erase(shapes_.begin() + i, shapes_.begin() + end);
}

void Drawing::RemoveList(std::span<const int> indices) {
  // Marking and compacting in one pass gives the same result as removing
  // sorted runs one by one, in linear time.
  std::vector<bool> doomed(shapes_.size(), false);
  bool any = false;
  for (int i : indices) {
    if (i >= 0 && i < Count()) doomed[static_cast<size_t>(i)] = any = true;
  }
  if (!any) return;
  size_t out = 0;
  for (size_t i = 0; i < shapes_.size(); ++i) {
    if (!doomed[i]) shapes_[out++] = std::move(shapes_[i]);
  }
  shapes_.resize(out);
}

void Drawing::RemoveAll() { shapes_.clear(); }

void Drawing::InsertAscending(std::vector<IndexedShape> items) {
  if (items.empty()) return;
  std::vector<std::unique_ptr<Shape>> merged;
  merged.reserve(shapes_.size() + items.size());
  size_t old = 0;
  for (IndexedShape& item : items) {
    if (!item.shape) continue;
    // Earlier shapes fill the positions below this item's index; an index
    // that the list cannot reach yet ends the insertion.
    while (static_cast<int64_t>(merged.size()) < item.index && old < shapes_.size()) {
      merged.push_back(std::move(shapes_[old++]));
    }
    if (static_cast<int64_t>(merged.size()) < item.index) break;
    merged.push_back(std::move(item.shape));
  }
  while (old < shapes_.size()) merged.push_back(std::move(shapes_[old++]));
  shapes_ = std::move(merged);
}

void Drawing::CopyFrom(const Drawing& other) {
  if (&other == this) return;
  RemoveAll();
  shapes_.reserve(other.shapes_.size());
  for (const auto& shape : other.shapes_) {
    if (shape) shapes_.push_back(shape->Clone());
  }
  background_ = other.background_;
  pageCount_ = other.pageCount_;
  pageSize_ = other.pageSize_;
  RenumberGroups();
}

RectF Drawing::Bounds(bool selectedOnly) const {
  if (shapes_.empty()) return RectF{};
  RectF r = EmptyUnionStart();
  for (const auto& shape : shapes_) {
    if (!shape || (selectedOnly && !shape->selected())) continue;
    r = Union(r, shape->bounds);
  }
  return r;
}

void Drawing::MoveListTo(int target, std::span<const int> indices) {
  target = std::clamp(target, 0, Count());
  std::vector<bool> taken(shapes_.size(), false);
  std::vector<std::unique_ptr<Shape>> moved;
  int below = 0;
  for (int i : indices) {
    if (i < 0 || i >= Count() || taken[static_cast<size_t>(i)]) continue;
    taken[static_cast<size_t>(i)] = true;
    moved.push_back(std::move(shapes_[static_cast<size_t>(i)]));
    if (i < target) ++below;
  }
  if (moved.empty()) return;
  const size_t insertAt = static_cast<size_t>(target - below);
  std::vector<std::unique_ptr<Shape>> rest;
  rest.reserve(shapes_.size());
  for (size_t i = 0; i < shapes_.size(); ++i) {
    if (rest.size() == insertAt) {
      for (auto& s : moved) rest.push_back(std::move(s));
    }
    if (!taken[i]) rest.push_back(std::move(shapes_[i]));
  }
  if (rest.size() == insertAt) {
    for (auto& s : moved) rest.push_back(std::move(s));
  }
  shapes_ = std::move(rest);
}

void Drawing::SetLastError(std::u16string_view text) { lastError_.assign(text); }

}  // namespace zel

// Pages of a Drawing: counts, insertion and deletion with shape renumbering.
#include <algorithm>
#include <climits>

#include "model/drawing.h"

namespace zel {

void Drawing::SetPageCount(int n) { pageCount_ = n < 1 ? 1 : n; }

void Drawing::AddPages(int n) {
  if (n <= 0 || n > INT_MAX - pageCount_) return;
  pageCount_ += n;
}

void Drawing::InsertPages(int at, int n) {
  if (at < 0 || at > pageCount_ || n < 1 || n > INT_MAX - pageCount_) return;
  pageCount_ += n;
  for (auto& shape : shapes_) {
    if (shape && shape->pageIndex >= at) shape->pageIndex += n;
  }
}

void Drawing::DeletePages(int first, int n) {
  if (pageCount_ < 2 || n < 1 || first < 0 || first >= pageCount_) return;
  n = std::min(n, pageCount_ - first);
  if (n >= pageCount_) return;  // the last page always stays
  pageCount_ -= n;
  const int64_t end = int64_t{first} + n;
  size_t out = 0;
  for (size_t i = 0; i < shapes_.size(); ++i) {
    auto& shape = shapes_[i];
    if (!shape) continue;
    if (shape->pageIndex >= first && shape->pageIndex < end) continue;
    if (shape->pageIndex >= end) shape->pageIndex -= n;
    shapes_[out++] = std::move(shape);
  }
  shapes_.resize(out);
}

int Drawing::ShapesOnPage(int p) const {
  if (p < 0 || p >= pageCount_) return 0;
  int n = 0;
  for (const auto& shape : shapes_) {
    if (shape && shape->pageIndex == p) ++n;
  }
  return n;
}

RectF Drawing::PageBounds(int p) const {
  RectF r = EmptyUnionStart();
  bool any = false;
  for (const auto& shape : shapes_) {
    if (!shape || shape->pageIndex != p) continue;
    r = Union(r, shape->bounds);
    any = true;
  }
  return any ? r : RectF{};
}

void Drawing::Reset() {
  pageCount_ = 1;
  RemoveAll();
}

}  // namespace zel

// The balanced page tree of a document (fan-out 6) and the object numbers it
// fixes. The writer lays objects out by it and the reader finds them by it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

inline constexpr int64_t kPageTreeFanOut = 6;
// Objects before the tree: 1 catalogue, 2 outlines; the root Pages node is 3.
inline constexpr int64_t kRootPagesObject = 3;

struct PageTree {
  // Node counts per level, root level (1) first, pages last.
  std::vector<int64_t> levels;
  // Tree objects in all: Pages nodes including the root, plus the pages.
  int64_t objects = 0;

  int64_t pages() const { return levels.back(); }
  // Object number of the first node of a level.
  int64_t FirstObjectOfLevel(size_t level) const;
  // Number of pages below node j of a level.
  int64_t PagesBelow(size_t level, int64_t j) const;
  int64_t PageObject(int64_t page) const { return kRootPagesObject + objects - pages() + page; }
  // The Pages node a page hangs from.
  int64_t PageParent(int64_t page) const;
  // The content stream of page p, the first object after the tree.
  int64_t ContentObject(int64_t page) const { return kRootPagesObject + objects + page; }
};

// The tree of a document of `pages` pages (at least 1). One page still gets
// a root above it: levels [1, 1].
PageTree PageTreeFor(int64_t pages);

}  // namespace zel

#include "docformat/page_tree.h"

#include <algorithm>

namespace zel {

PageTree PageTreeFor(int64_t pages) {
  PageTree tree;
  tree.levels.push_back(std::max<int64_t>(pages, 1));
  do {
    const int64_t c = tree.levels.front();
    tree.levels.insert(tree.levels.begin(), (c + kPageTreeFanOut - 1) / kPageTreeFanOut);
  } while (tree.levels.front() > 1);
  for (int64_t n : tree.levels) tree.objects += n;
  return tree;
}

int64_t PageTree::FirstObjectOfLevel(size_t level) const {
  int64_t number = kRootPagesObject;
  for (size_t l = 0; l < level && l < levels.size(); ++l) number += levels[l];
  return number;
}

int64_t PageTree::PagesBelow(size_t level, int64_t j) const {
  int64_t span = 1;
  for (size_t l = level + 1; l < levels.size(); ++l) span *= kPageTreeFanOut;
  const int64_t first = j * span;
  return std::max<int64_t>(0, std::min(first + span, pages()) - first);
}

int64_t PageTree::PageParent(int64_t page) const {
  return FirstObjectOfLevel(levels.size() - 2) + page / kPageTreeFanOut;
}

}  // namespace zel

// Groups of a Drawing: compact renumbering and the flat group list.
#include <algorithm>
#include <unordered_map>

#include "model/drawing.h"

namespace zel {

namespace {

// Gives each distinct non-zero id the next number above *next in order of
// first appearance; 0 stays 0.
class GroupRenumberer {
 public:
  explicit GroupRenumberer(int base) : next_(base) {}
  void Apply(Shape& shape) {
    if (shape.groupId == 0) return;
    auto [it, fresh] = map_.try_emplace(shape.groupId, 0);
    if (fresh) it->second = ++next_;
    shape.groupId = it->second;
  }
  int last() const { return next_; }

 private:
  std::unordered_map<int32_t, int32_t> map_;
  int next_;
};

void AppendGroups(const std::vector<std::vector<int32_t>>& members, std::vector<int32_t>* out) {
  out->clear();
  for (const auto& list : members) {
    out->push_back(static_cast<int32_t>(list.size()));
    out->insert(out->end(), list.begin(), list.end());
  }
}

}  // namespace

int Drawing::RenumberGroups() { return RenumberGroupsFrom(0, 0); }

int Drawing::RenumberGroupsFrom(int first, int base) {
  GroupRenumberer renumber(base);
  for (size_t i = static_cast<size_t>(std::max(first, 0)); i < shapes_.size(); ++i) {
    if (shapes_[i]) renumber.Apply(*shapes_[i]);
  }
  return renumber.last();
}

int Drawing::RenumberGroupsOnPage(int p) {
  if (p < 0 || p >= pageCount_) return 0;
  // Renumbering the page alone could hand a page's group an id that another
  // page's group still carries and so merge the two; the other pages'
  // groups therefore follow above the page's own.
  GroupRenumberer renumber(0);
  for (auto& shape : shapes_) {
    if (shape && shape->pageIndex == p) renumber.Apply(*shape);
  }
  const int groups = renumber.last();
  // The renumberer maps original ids, so a group spanning pages keeps one id.
  for (auto& shape : shapes_) {
    if (shape && shape->pageIndex != p) renumber.Apply(*shape);
  }
  return groups;
}

int Drawing::HighestGroupId() const {
  int32_t highest = 0;
  for (const auto& shape : shapes_) {
    if (shape) highest = std::max(highest, shape->groupId);
  }
  return highest;
}

void Drawing::BuildGroupList(std::vector<int32_t>* out) {
  const int groups = RenumberGroups();
  // Page-major order: page 0 first, list order within a page. A stable sort
  // of the indices by page keeps it linear in memory whatever the page count.
  std::vector<int> order;
  order.reserve(shapes_.size());
  for (int i = 0; i < Count(); ++i) {
    const Shape* s = GetShape(i);
    if (s && s->pageIndex >= 0 && s->pageIndex < pageCount_) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    return GetShape(a)->pageIndex < GetShape(b)->pageIndex;
  });
  std::vector<std::vector<int32_t>> members(static_cast<size_t>(groups));
  for (size_t pos = 0; pos < order.size(); ++pos) {
    const int32_t g = GetShape(order[pos])->groupId;
    if (g > 0 && g <= groups) members[static_cast<size_t>(g - 1)].push_back(static_cast<int32_t>(pos));
  }
  AppendGroups(members, out);
}

void Drawing::BuildPageGroupList(int p, std::vector<int32_t>* out) {
  if (p < 0 || p >= pageCount_) return;
  const int groups = RenumberGroupsOnPage(p);
  std::vector<std::vector<int32_t>> members(static_cast<size_t>(groups));
  int32_t pos = 0;
  for (const auto& shape : shapes_) {
    if (!shape || shape->pageIndex != p) continue;
    const int32_t g = shape->groupId;
    if (g > 0 && g <= groups) members[static_cast<size_t>(g - 1)].push_back(pos);
    ++pos;
  }
  AppendGroups(members, out);
}

bool Drawing::ApplyGroupList(std::span<const int32_t> list) {
  for (auto& shape : shapes_) {
    if (shape) shape->groupId = 0;
  }
  size_t i = 0;
  int32_t g = 1;
  while (i < list.size()) {
    const int32_t c = list[i];
    // The list may come from a file: a negative count would never advance
    // and a huge one would run past the end.
    if (c < 0 || static_cast<size_t>(c) > list.size() - i - 1) return false;
    for (size_t k = i + 1; k <= i + static_cast<size_t>(c); ++k) {
      if (Shape* s = GetShape(list[k])) s->groupId = g;
    }
    i += 1 + static_cast<size_t>(c);
    ++g;
  }
  return true;
}

}  // namespace zel

#include "model/path_node.h"

namespace zel {

bool IsClosed(const SubPath& nodes) {
  return nodes.size() > 1 && PointsEqual(nodes.front().anchor, nodes.back().anchor);
}

bool HasNoHandles(const PathNode& node) {
  return PointsEqual(node.in, node.anchor) && PointsEqual(node.out, node.anchor);
}

}  // namespace zel

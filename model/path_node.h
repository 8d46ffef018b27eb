// A node of a Bezier path and the array of nodes that makes one contour.
#pragma once

#include <cstdint>
#include <vector>

#include "model/geometry.h"

namespace zel {

inline constexpr uint16_t kNodeCusp = 0x0001;
// Marks "handles on the anchor" inside the binary record only; never kept.
inline constexpr uint16_t kNodeRecordNoHandles = 0x8000;

struct PathNode {
  PointF in;      // incoming control handle
  PointF anchor;  // the point the curve passes through
  PointF out;     // outgoing control handle
  uint16_t flags = 0;
};

// Segment i runs from node i to node i + 1. Closed when the last anchor equals
// the first (closing appends a copy of the first node).
using SubPath = std::vector<PathNode>;

bool IsClosed(const SubPath& nodes);
// Both handles sit on the anchor.
bool HasNoHandles(const PathNode& node);

}  // namespace zel

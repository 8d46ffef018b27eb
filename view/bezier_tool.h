// The Bezier tool: a path placed node by node. A tap places a corner; a
// drag from the new node pulls out its handles (mirrored unless Ctrl makes
// the node a cusp). A double tap, or leaving the tool, finishes the path.
#pragma once

#include <vector>

#include "model/path_node.h"
#include "view/tool.h"

namespace zel {

class BezierTool final : public Tool {
 public:
  BezierTool() : Tool(kBezierToolId) {}

  void StylusDown(uint32_t flags, IntPoint p) override;
  void StylusUp(uint32_t flags, IntPoint p) override;
  void DoubleTap(uint32_t flags, IntPoint p) override;
  void DrawOverlay(Surface& dc) override;
  void StylusMove(uint32_t flags, IntPoint p) override;
  void Deactivate() override;

  // Adds the placed nodes as a path (two or more) and starts afresh.
  void Finish();
  const SubPath& nodes() const { return nodes_; }

 private:
  void HandlesFrom(IntPoint p);
  void TogglePreview(Surface* dc = nullptr);
  void ToggleMarkers(Surface& dc, const PathNode& node);

  SubPath nodes_;
  PathNode placing_;
};

}  // namespace zel

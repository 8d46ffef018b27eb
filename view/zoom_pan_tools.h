// The viewport tools: the pan tool drags the captured window picture and
// moves the view at the release; the zoom tool fits a dragged area into the
// window, or zooms in about a tapped spot.
#pragma once

#include <memory>

#include "model/dib.h"
#include "view/tool.h"

namespace zel {

class PanTool final : public Tool {
 public:
  PanTool() : Tool(kPanToolId) {}
  void StylusDown(uint32_t flags, IntPoint p) override;
  void StylusUp(uint32_t flags, IntPoint p) override;
  void StylusMove(uint32_t flags, IntPoint p) override;

 private:
  std::unique_ptr<DibImage> captured_;
  IntPoint anchorAtPress_;
};

class ZoomTool final : public Tool {
 public:
  ZoomTool() : Tool(kZoomToolId) {}
  void StylusDown(uint32_t flags, IntPoint p) override;
  void StylusUp(uint32_t flags, IntPoint p) override;
  void DrawOverlay(Surface& dc) override;
  void StylusMove(uint32_t flags, IntPoint p) override;
};

}  // namespace zel

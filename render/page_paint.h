// What the view paints into its off-screen bitmap: background, page frame,
// grid and the current page's shapes.
#pragma once

#include "model/drawing.h"
#include "model/viewport.h"
#include "render/surface.h"
#include "render/view_ops.h"

namespace zel {

inline constexpr ColorRef kViewBackground = 0xEBEBEB;  // around the page
inline constexpr ColorRef kPageShadow = 0x464646;

// The white page with a two-pixel grey shadow to the lower right and a black
// frame. The surface's pen and brush are restored.
void DrawPageFrame(Surface& dc, const Viewport& vp, PageSize page);

// Background (grey around a shown page, else white), page frame, grid and the
// shapes of page, all within client. The tool overlay is the view's.
void PaintViewContent(Surface& dc, const Drawing& drawing, const Viewport& vp, const IntRect& client, int page,
                      const ViewSettings& settings);

}  // namespace zel

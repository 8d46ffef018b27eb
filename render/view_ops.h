// View-level viewport operations that need no window: the zoom commands'
// arithmetic, fitting the drawing or the page, scroll-bar positions and
// scrolling, the background grid, snapping, and the pan and zoom-area tools'
// geometry. The view binds them to commands and does the repainting.
#pragma once

#include <cstdint>

#include "model/drawing.h"
#include "model/geometry.h"
#include "model/viewport.h"
#include "render/surface.h"

namespace zel {

// The view settings these operations read.
struct ViewSettings {
  bool showGrid = false;
  float gridSpacing = 100.0f;  // mm/10
  float snapSpacing = 0.0f;    // mm/10, 0 = no snapping
  bool showScrollBars = false;
  bool showPage = true;
};

// Stored spacings are hundredths of mm/10; loading applies the ranges.
float GridSpacingFromStored(int64_t stored);  // 10 .. 3000
float SnapSpacingFromStored(int64_t stored);  // 0 .. 100

// ((left + right) / 2, (top + bottom) / 2), halves truncated toward zero.
IntPoint ClientCentre(const IntRect& client);

void ZoomInView(Viewport& vp, const IntRect& client);
void ZoomOutView(Viewport& vp, const IntRect& client);
// True size: the screen's device scale, keeping the client centre in place.
void ZoomOneToOne(Viewport& vp, const IntRect& client);

// Fits bounds (the union of the current page's shapes) into the client shrunk
// by 2 pixels; bounds of width or height 1.0 or less show the drawing origin
// at the centre at true size.
void FitDrawing(Viewport& vp, const IntRect& client, const RectF& bounds);
void FitDrawing(Viewport& vp, const IntRect& client, const Drawing& drawing, int page);
// Fits the page into the client shrunk by 2 pixels. False, leaving the
// viewport alone, when the page is 1.0 or less in width or height (the view
// then zooms 1:1 instead).
[[nodiscard]] bool FitPage(Viewport& vp, const IntRect& client, PageSize page);

struct ScrollRange {
  int min = 0;
  int max = 0;
};
// -30000 .. 30000 when the bars are shown, 0 .. 0 (hidden) otherwise.
ScrollRange ScrollBarRange(bool shown);

struct ScrollPositions {
  int horizontal = 0;
  int vertical = 0;
};
// The drawing point at the client's top-left corner, in mm/10.
ScrollPositions ScrollBarPositions(const Viewport& vp);

// Scroll-bar codes.
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGEDOWN = 3;

// Pixel shift of a scroll command (0 for codes that do nothing).
int ScrollShift(const Viewport& vp, const IntRect& client, bool horizontal, int code, int position);
// Applies the shift to the anchor; true when the view moved (the caller then
// updates the bar positions and repaints).
bool ScrollView(Viewport& vp, const IntRect& client, bool horizontal, int code, int position);

// Grid lines in not-XOR-pen mode, when the grid is on and its step is at
// least 3 pixels. The surface's pen, mode and background mode are restored.
void DrawGrid(Surface& dc, const Viewport& vp, const IntRect& client, const ViewSettings& settings);

// The pixel of the nearest snap point, or p itself when snapping is off.
IntPoint SnapPoint(const Viewport& vp, IntPoint p, float snapSpacing);

// Zoom-area release: a rectangle larger than 10 pixels both ways is fitted
// into the client; anything smaller is a tap, which centres the tapped spot
// and zooms in.
void ZoomToArea(Viewport& vp, IntPoint down, IntPoint up, const IntRect& client);

// The pan tool's preview: the client filled white with the picture captured
// at the press drawn at offset.
void ComposePanPreview(Surface& target, const Surface& captured, IntPoint offset, const IntRect& client);

}  // namespace zel

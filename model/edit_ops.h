// Editing operations on a drawing and the view's selection.
//
// The selection is an ordered list of shape indices (pick order, or list
// order after Select All). The caller records the undo step before calling
// an operation that changes the drawing (see UndoManager). Every operation
// ignores selected indices that are out of range or repeated. The clipboard
// is a Drawing the caller owns; it holds deep copies.
#pragma once

#include <cstdint>
#include <vector>

#include "model/color.h"
#include "model/drawing.h"
#include "model/geometry.h"
#include "model/transform.h"

namespace zel {

using Selection = std::vector<int>;

enum class AlignCommand { Left, Right, Center, Top, Middle, Bottom };
enum class StyleCommand { Fine, Normal, Bold, Thick, NoLine, NoFill };

// The style the drawing tools give new shapes.
struct ShapeStyle {
  int32_t penStyle = kPenSolid;
  int32_t lineWidth = kLineFine;
  ColorRef penColor = 0;
  int32_t brushStyle = kBrushSolid;
  ColorRef fillColor = 0;
};

// The selection without out-of-range and repeated indices, order kept.
Selection ValidSelection(const Drawing& drawing, const Selection& selection);

// --- Selection and clipboard (edit_clipboard.cpp) -----------------------------
// The indices of the shapes on the page, in list order.
Selection SelectAll(const Drawing& drawing, int currentPage);
// Deletes the selected shapes and empties the selection; false when empty.
bool Delete(Drawing& drawing, Selection& selection);
// Replaces the clipboard's shapes by copies of the selected ones, in
// selection order, their groups renumbered among the copies.
bool Copy(const Drawing& drawing, const Selection& selection, Drawing& clipboard);
bool Cut(Drawing& drawing, Selection& selection, Drawing& clipboard);
// Appends copies of the clipboard's shapes on the current page, in groups of
// their own, selects them and moves them so that the top-left corner of
// their union bounds lands on topLeft (the point under the view's pixel
// (10, 10)). False when the clipboard is empty.
bool Paste(Drawing& drawing, Selection& selection, Drawing& clipboard, int currentPage,
           PointF topLeft);
// Moves the shapes together so that their union's (xmin, ymin) is topLeft.
void MoveTopLeftTo(Drawing& drawing, const Selection& selection, PointF topLeft);
// Transforms every selected shape with t.
void TransformSelection(Drawing& drawing, const Selection& selection, const Transform& t);

// --- Join and break apart (edit_join.cpp) --------------------------------------
// At least two shapes selected and the first is a path.
bool CanJoin(const Drawing& drawing, const Selection& selection);
// The selected paths in selection order: what Join removes.
Selection JoinedPaths(const Drawing& drawing, const Selection& selection);
// Merges the contours of the selected paths into one new path in place of
// the first; other kinds stay. Selection = the new path.
bool Join(Drawing& drawing, Selection& selection);
// Joins the paths at the indices (the first one gives the style) without the
// selection rules; Join and its redo share it. Returns the new path's index,
// or -1 when the first index is not a path.
int JoinPaths(Drawing& drawing, const Selection& paths);
// Exactly one shape selected and it is a path.
bool CanBreakApart(const Drawing& drawing, const Selection& selection);
// Splits the path into one shape per contour at its z-position. Selection =
// the pieces.
bool BreakApart(Drawing& drawing, Selection& selection);
// The pieces' count, or -1 when index is not a path.
int BreakApartAt(Drawing& drawing, int index);

// --- Groups and order (edit_order.cpp) -------------------------------------------
// The selected shapes form a new group above all existing ones.
bool Group(Drawing& drawing, const Selection& selection);
bool Ungroup(Drawing& drawing, const Selection& selection);
// Moves the selection to target (0 = back, Count() = front) keeping its
// order; the selection follows. Nothing happens when target is selected.
bool Reorder(Drawing& drawing, Selection& selection, int target);
bool BringToFront(Drawing& drawing, Selection& selection);
bool SendToBack(Drawing& drawing, Selection& selection);

// --- Align (edit_align.cpp) ------------------------------------------------------
// Lines up the selected shapes on the union of their bounds; a group with a
// selected member moves as one unit. Needs two or more selected shapes.
bool Align(Drawing& drawing, const Selection& selection, AlignCommand command);
// Every shape Align moves: the selection, then the members of its groups
// that are not selected, in list order. Empty when Align would not act.
Selection AlignedShapes(const Drawing& drawing, const Selection& selection);

// --- Styles (edit_style.cpp) ----------------------------------------------------
// Applies a Shape menu command to the selected paths; false when the
// selection holds no path.
bool ApplyStyle(Drawing& drawing, const Selection& selection, StyleCommand command);
// The same command on the defaults for new shapes (nothing selected).
void ApplyStyle(ShapeStyle& defaults, StyleCommand command);
// Fill colour pick: selected paths and texts take the colour, paths also
// become filled.
bool SetFillColor(Drawing& drawing, const Selection& selection, ColorRef color);
// Line colour pick: selected paths take the colour with a solid pen.
bool SetLineColor(Drawing& drawing, const Selection& selection, ColorRef color);

}  // namespace zel

// Action codes and payload pieces of the undo history's binary records.
//
// Payloads are little-endian 32-bit integers, with binary shape records
// back to back where shapes are stored.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/byte_stream.h"
#include "model/drawing.h"
#include "model/edit_ops.h"

namespace zel {

enum class UndoAction : uint16_t {
  Change = 0,       // n, n indices, n shapes (state before)
  Delete = 1,       // n, n indices; on the undo stack also n shapes
  ReorderRun = 2,   // target, first index, count
  Paste = 3,        // start index, count; on the redo stack also count shapes
  ReorderAll = 4,   // count, all shapes of the drawing
  Add = 5,          // count; on the redo stack also count shapes
  Replace = 6,      // reserved: no command records it
  Groups = 7,       // group list in list order: length, integers
  Join = 8,         // n, n indices; on the undo stack also n shapes
  BreakApart = 9,   // index, pieces; on the undo stack also the shape
  Transform = 10,   // n, n indices, 4 x 4 matrix
  AddPage = 11,     // count
  InsertPage = 12,  // page index, count
  DeletePage = 13,  // page index, count, n, n pairs (shape index, shape)
};

void WriteIndexList(ByteWriter& w, const Selection& indices);
// False on a short payload or a count the payload cannot hold.
[[nodiscard]] bool ReadIndexList(ByteReader& r, Selection* indices);

// A missing shape is written as an empty placeholder record.
void WriteShapeRecord(ByteWriter& w, const Shape* shape);
// Null when the record cannot be read.
std::unique_ptr<Shape> ReadShapeRecord(ByteReader& r);

// The drawing's groups as a group list whose members are list indices (not
// the page-major positions of the document format), so that replaying it
// with ApplyGroupList regroups exactly the same shapes however the pages
// interleave in the list. Group g of the list is id g, with empty groups
// written as count 0, so the ids come back unchanged. Should an id be
// negative or far above the shape count (foreign files), the ids are
// renumbered in order of first appearance instead, keeping the grouping.
std::vector<int32_t> HistoryGroupList(const Drawing& drawing);
void WriteIntList(ByteWriter& w, const std::vector<int32_t>& list);
[[nodiscard]] bool ReadIntList(ByteReader& r, std::vector<int32_t>* list);

}  // namespace zel

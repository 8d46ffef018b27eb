// The engine's document: one z-ordered shape list covering every page.
//
// Pages are not containers; each shape carries its page number and page
// operations renumber shapes. Group ids live in the shapes too.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/color.h"
#include "model/geometry.h"
#include "model/shape.h"

namespace zel {

inline constexpr ColorRef kDefaultBackground = 0xCECECE;
inline constexpr float kDefaultPageWidth = 1050.0f;
inline constexpr float kDefaultPageHeight = 1480.0f;

struct PageSize {
  float width = kDefaultPageWidth;
  float height = kDefaultPageHeight;
};

// A shape together with the list index it is to occupy (see InsertAscending).
struct IndexedShape {
  int index = 0;
  std::unique_ptr<Shape> shape;
};

class Drawing {
 public:
  Drawing();
  ~Drawing();
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;
  // Copies are explicit (CopyFrom); moving hands the shapes over.
  Drawing(Drawing&&) noexcept;
  Drawing& operator=(Drawing&&) noexcept;

  // --- Shape list (index 0 is drawn first) ---------------------------------
  // Null when i is out of range.
  Shape* GetShape(int i);
  const Shape* GetShape(int i) const;
  int Count() const { return static_cast<int>(shapes_.size()); }

  // Appends on top of the z-order. A null shape is ignored.
  void Add(std::unique_ptr<Shape> shape);
  // Inserts before index i (0..Count()); otherwise the shape is dropped and
  // the call returns false.
  bool InsertAt(int i, std::unique_ptr<Shape> shape);
  // Replaces entry i, deleting the shape that was there.
  bool SetShape(int i, std::unique_ptr<Shape> shape);
  // Takes entry i out of the list without deleting it.
  std::unique_ptr<Shape> TakeShape(int i);
  // Deletes n entries from i, clipped at the end.
  void RemoveRange(int i, int n);
  // Deletes the shapes at the given indices; out-of-range and repeated
  // indices are ignored, so a duplicate never takes a neighbour with it.
  void RemoveList(std::span<const int> indices);
  void RemoveAll();
  // Inserts shapes so that each ends at its index. Items must be sorted by
  // ascending index; an index beyond the grown list is dropped. One pass over
  // the list, however many shapes come back (undo of a large delete).
  void InsertAscending(std::vector<IndexedShape> items);

  static std::unique_ptr<Shape> Clone(const Shape& shape) { return shape.Clone(); }
  // Deep copy of shapes, background, pages and page size; groups renumbered.
  void CopyFrom(const Drawing& other);

  // Union of the bounds of all shapes or of those with the selected flag.
  // Zeros for an empty drawing; the union's start values when shapes exist
  // but none counts.
  RectF Bounds(bool selectedOnly) const;

  // Moves the shapes at the indices (in that order) so that they sit
  // together where target was, counted before the move. Used by Bring to
  // Front, Send to Back and undo.
  void MoveListTo(int target, std::span<const int> indices);

  // --- Pages -----------------------------------------------------------------
  int PageCount() const { return pageCount_; }
  // Fewer than one page is not a drawing; such counts set 1.
  void SetPageCount(int n);
  void AddPages(int n);
  // Inserts n empty pages before page at (0..PageCount()).
  void InsertPages(int at, int n);
  // Deletes pages first..first+n-1 with their shapes; later pages move down.
  // At least one page always remains.
  void DeletePages(int first, int n);
  int ShapesOnPage(int p) const;
  RectF PageBounds(int p) const;
  PageSize GetPageSize() const { return pageSize_; }
  void SetPageSize(float w, float h) { pageSize_ = {w, h}; }
  // One page, no shapes; page size and background stay.
  void Reset();

  ColorRef BackgroundColor() const { return background_; }
  void SetBackgroundColor(ColorRef c) { background_ = c; }

  // --- Groups ----------------------------------------------------------------
  // Renumbers all group ids 1..G in order of first appearance; returns G.
  int RenumberGroups();
  // Gives page p's groups the ids 1..G (order of first appearance on the
  // page) and the other pages' groups the ids above, so that no group of
  // another page can share an id with one of page p. Returns G.
  int RenumberGroupsOnPage(int p);
  // Renumbers the groups of the shapes from index first on, starting above
  // base, leaving earlier shapes alone; returns the last id given (base when
  // none). Pasted or restored shapes so never merge with existing groups.
  int RenumberGroupsFrom(int first, int base);
  // The largest group id in use (0 when nothing is grouped).
  int HighestGroupId() const;

  // The group list of the document format: for each group 1..G its member
  // count and the members' page-major positions. Renumbers groups first.
  void BuildGroupList(std::vector<int32_t>* out);
  // The same for page p alone, positions counted among that page's shapes.
  // A page beyond the last leaves out untouched.
  void BuildPageGroupList(int p, std::vector<int32_t>* out);
  // Sets every group id from such a list, read as list indices. The list may
  // come from a file: a negative count or one running past the end stops
  // the reading (false); groups read before stay applied.
  bool ApplyGroupList(std::span<const int32_t> list);

  // --- Errors ----------------------------------------------------------------
  const std::u16string& LastError() const { return lastError_; }
  // The one place a failure message is stored.
  void SetLastError(std::u16string_view text);
  // Stores the message and returns false: `return drawing.Fail(u"...");`.
  [[nodiscard]] bool Fail(std::u16string_view text) {
    SetLastError(text);
    return false;
  }

 private:
  std::vector<std::unique_ptr<Shape>> shapes_;
  ColorRef background_ = kDefaultBackground;
  int pageCount_ = 1;
  PageSize pageSize_;
  std::u16string lastError_;
};

}  // namespace zel

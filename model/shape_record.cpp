// The binary shape record: the form undo and redo keep shapes in.
//
// Every count read from a record is checked against what the stream still
// holds before anything is allocated for it, so a damaged record can never
// make the reader allocate or loop by an unchecked number.
#include <cmath>

#include "model/shape.h"

namespace zel {

namespace {

// Smallest encodings, used to bound counts by the bytes that remain.
constexpr size_t kMinSubPathBytes = 4 + 10;  // node count and one node without handles
constexpr size_t kMinNodeBytes = 2 + 8;       // flags and anchor

float SnapTiny(float v) { return std::fabs(v) < 1e-8f ? 0.0f : v; }

void WritePoint(ByteWriter& w, PointF p) {
  w.F32(SnapTiny(p.x));
  w.F32(SnapTiny(p.y));
}

[[nodiscard]] bool ReadFinite(ByteReader& r, float* v) { return r.F32(v) && std::isfinite(*v); }

[[nodiscard]] bool ReadPoint(ByteReader& r, PointF* p) { return ReadFinite(r, &p->x) && ReadFinite(r, &p->y); }

// A count is acceptable when each of its items, at its smallest, still fits.
bool CountFits(const ByteReader& r, uint32_t count, size_t minItemBytes) {
  return count <= r.total() && uint64_t(count) * minItemBytes <= r.remaining();
}

void WriteString(ByteWriter& w, const std::u16string& s) {
  w.U32(static_cast<uint32_t>(s.size()));
  for (char16_t c : s) w.U16(static_cast<uint16_t>(c));
}

[[nodiscard]] bool ReadString(ByteReader& r, std::u16string* s) {
  uint32_t n;
  if (!r.U32(&n) || !CountFits(r, n, 2)) return false;
  s->resize(n);
  for (uint32_t i = 0; i < n; ++i) {
    uint16_t c;
    if (!r.U16(&c)) return false;
    (*s)[i] = static_cast<char16_t>(c);
  }
  return true;
}

}  // namespace

void Shape::Write(ByteWriter& w) const {
  w.U32(kind());
  w.I32(groupId);
  w.I32(pageIndex);
  w.U32(fillColor);
  if (content) content->WriteBody(w);
}

bool Shape::Read(ByteReader& r) {
  uint32_t kindCode;
  if (!r.U32(&kindCode) || !r.I32(&groupId) || !r.I32(&pageIndex)) return false;
  Shape fresh(kindCode);
  content = std::move(fresh.content);
  if (!r.U32(&fillColor)) return false;
  if (content && !content->ReadBody(r)) return false;
  UpdateBounds();
  return true;
}

void PathContent::WriteBody(ByteWriter& w) const {
  w.I32(penStyle);
  w.I32(lineWidth);
  w.U32(penColor);
  w.I32(brushStyle);
  w.U32(static_cast<uint32_t>(subPaths.size()));
  for (const SubPath& nodes : subPaths) {
    w.U32(static_cast<uint32_t>(nodes.size()));
    for (const PathNode& n : nodes) {
      // Handles on the anchor are left out: most nodes of straight-sided paths.
      bool bare = HasNoHandles(n);
      w.U16(static_cast<uint16_t>((n.flags & ~kNodeRecordNoHandles) | (bare ? kNodeRecordNoHandles : 0)));
      WritePoint(w, n.anchor);
      if (!bare) {
        WritePoint(w, n.in);
        WritePoint(w, n.out);
      }
    }
  }
}

bool PathContent::ReadBody(ByteReader& r) {
  uint32_t count;
  if (!r.I32(&penStyle) || !r.I32(&lineWidth) || !r.U32(&penColor) || !r.I32(&brushStyle) ||
      !r.U32(&count) || !CountFits(r, count, kMinSubPathBytes))
    return false;
  subPaths.clear();
  flattened.clear();
  subPaths.reserve(count);
  for (uint32_t s = 0; s < count; ++s) {
    uint32_t nodeCount;
    if (!r.U32(&nodeCount) || nodeCount == 0 || !CountFits(r, nodeCount, kMinNodeBytes)) return false;
    SubPath nodes(nodeCount);
    for (PathNode& n : nodes) {
      uint16_t flags;
      if (!r.U16(&flags) || !ReadPoint(r, &n.anchor)) return false;
      if (flags & kNodeRecordNoHandles) {
        n.in = n.out = n.anchor;
      } else if (!ReadPoint(r, &n.in) || !ReadPoint(r, &n.out)) {
        return false;
      }
      n.flags = static_cast<uint16_t>(flags & ~kNodeRecordNoHandles);
    }
    subPaths.push_back(std::move(nodes));
  }
  return true;
}

void TextContent::WriteBody(ByteWriter& w) const {
  WriteString(w, text);
  WriteString(w, faceName);
  w.F32(size);
  w.U32(styleBits);
  w.F32(anchor.x);
  w.F32(anchor.y);
  w.F32(corner.x);
  w.F32(corner.y);
  w.F32(angle);
  w.I32(alignment);
  w.I32(textType);
}

bool TextContent::ReadBody(ByteReader& r) {
  return ReadString(r, &text) && ReadString(r, &faceName) && ReadFinite(r, &size) && r.U32(&styleBits) &&
         ReadPoint(r, &anchor) && ReadPoint(r, &corner) && ReadFinite(r, &angle) && r.I32(&alignment) &&
         r.I32(&textType);
}

void ImageContent::WriteBody(ByteWriter& w) const {
  w.F32(placement.xmin);
  w.F32(placement.xmax);
  w.F32(placement.ymin);
  w.F32(placement.ymax);
  std::vector<uint8_t> head = dib.HeaderBytes();
  w.U32(static_cast<uint32_t>(head.size()));
  w.Write(head.data(), head.size());
  w.U32(static_cast<uint32_t>(dib.bits.size()));
  w.Write(dib.bits.data(), dib.bits.size());
}

bool ImageContent::ReadBody(ByteReader& r) {
  uint32_t headSize;
  if (!ReadFinite(r, &placement.xmin) || !ReadFinite(r, &placement.xmax) || !ReadFinite(r, &placement.ymin) ||
      !ReadFinite(r, &placement.ymax) || !r.U32(&headSize))
    return false;
  // At most a header with a full 8-bit palette.
  if (headSize < kBitmapInfoHeaderSize || headSize > kMaxDibHeaderSize || headSize > r.remaining())
    return false;
  uint8_t head[kMaxDibHeaderSize];
  if (r.Read(head, headSize) != headSize || !dib.SetHeaderBytes(head, headSize)) return false;
  uint32_t bitCount;
  if (!r.U32(&bitCount) || bitCount > r.remaining()) return false;
  dib.bits.resize(bitCount);
  if (r.Read(dib.bits.data(), bitCount) != bitCount) return false;
  // The pixel bytes must cover every row the header announces, or drawing
  // would read past them.
  return dib.IsDrawable();
}

}  // namespace zel

#include "view/select_tool.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "model/edit_ops.h"
#include "model/shape.h"
#include "render/shape_renderer.h"
#include "view/command_ids.h"
#include "view/zel_view.h"

namespace zel {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kTiny = 1e-8f;
constexpr auto kPreviewBudget = std::chrono::milliseconds(150);

bool Inside(const IntRect& r, IntPoint p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

float Distance(IntPoint a, IntPoint b) { return float(std::hypot(double(a.x - b.x), double(a.y - b.y))); }

// The pixel bounds of a shape, normalised.
IntRect PixelBounds(const Viewport& vp, const Shape& s) {
  return Normalized(IntRect{vp.toScreenX(s.bounds.xmin), vp.toScreenY(s.bounds.ymin), vp.toScreenX(s.bounds.xmax),
                            vp.toScreenY(s.bounds.ymax)});
}

float Guard(float denominator) {
  if (std::abs(denominator) < kTiny) return denominator < 0 ? -kTiny : kTiny;
  return denominator;
}

float Sign(float v) { return v > 0 ? 1.0f : (v < 0 ? -1.0f : 0.0f); }

bool Near(PointF a, PointF b) { return std::abs(a.x - b.x) < 1e-8f && std::abs(a.y - b.y) < 1e-8f; }

// The handle pictures: a diagonal cross, a 7 x 7 square, a disc; each pixel
// of the picture inverts the window pixel under it.
void InvertPixel(Surface& dc, int x, int y) {
  const ColorRef c = dc.GetPixel(x, y);
  if (c != CLR_INVALID) dc.SetPixel(x, y, c ^ 0xFFFFFF);
}

void DrawHandleImage(Surface& dc, IntPoint c, int kind) {
  if (kind == 0) {  // cross, 13 x 13
    for (int i = 0; i < 13; ++i) {
      InvertPixel(dc, c.x - 6 + i, c.y - 6 + i);
      if (i != 6) InvertPixel(dc, c.x - 6 + i, c.y + 6 - i);
    }
  } else if (kind == 1) {  // square of 7 in a 13 x 13 picture
    for (int y = -3; y <= 3; ++y)
      for (int x = -3; x <= 3; ++x) InvertPixel(dc, c.x + x, c.y + y);
  } else {  // disc, 9 x 9
    for (int y = -4; y <= 4; ++y)
      for (int x = -4; x <= 4; ++x)
        if (x * x + y * y <= 16) InvertPixel(dc, c.x + x, c.y + y);
  }
}

std::u16string_view Trimmed(std::u16string_view s) {
  const auto space = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

// --- selection set ----------------------------------------------------------------

void SelectTool::ClearSelection() {
  selected_.clear();
  rotateAllowed_ = cornersAllowed_ = edgesAllowed_ = freeScaling_ = true;
}

void SelectTool::AddOne(int index) {
  const Shape* s = view_->drawing()->GetShape(index);
  if (!s) return;
  const TextContent* text = s->text();
  if (rotateAllowed_ && (text || s->image())) rotateAllowed_ = freeScaling_ = false;
  if (text && (cornersAllowed_ || edgesAllowed_ || freeScaling_)) {
    cornersAllowed_ = true;
    edgesAllowed_ = text->paragraph();
    freeScaling_ = false;
  }
  if (selected_.empty()) {
    left_ = s->bounds.xmin;
    top_ = s->bounds.ymin;
    right_ = s->bounds.xmax;
    bottom_ = s->bounds.ymax;
  } else {
    left_ = std::min(left_, s->bounds.xmin);
    top_ = std::min(top_, s->bounds.ymin);
    right_ = std::max(right_, s->bounds.xmax);
    bottom_ = std::max(bottom_, s->bounds.ymax);
  }
  selected_.insert(index);
}

void SelectTool::AddWithGroup(int index) {
  const Drawing& d = *view_->drawing();
  const Shape* s = d.GetShape(index);
  if (!s) return;
  if (s->groupId == 0) {
    AddOne(index);
    return;
  }
  for (int i = 0; i < d.Count(); ++i)
    if (d.GetShape(i)->groupId == s->groupId) AddOne(i);
}

void SelectTool::RemoveWithGroup(int index) {
  const Drawing& d = *view_->drawing();
  const Shape* s = d.GetShape(index);
  if (!s) return;
  if (s->groupId == 0) {
    selected_.erase(index);
  } else {
    for (int i = 0; i < d.Count(); ++i)
      if (d.GetShape(i)->groupId == s->groupId) selected_.erase(i);
  }
  RecomputeFrame();
}

void SelectTool::RecomputeFrame() {
  bool first = true;
  for (int i : selected_) {
    const Shape* s = view_->drawing()->GetShape(i);
    if (!s) continue;
    if (first) {
      left_ = s->bounds.xmin, top_ = s->bounds.ymin, right_ = s->bounds.xmax, bottom_ = s->bounds.ymax;
      first = false;
    } else {
      left_ = std::min(left_, s->bounds.xmin);
      top_ = std::min(top_, s->bounds.ymin);
      right_ = std::max(right_, s->bounds.xmax);
      bottom_ = std::max(bottom_, s->bounds.ymax);
    }
  }
}

void SelectTool::CopyToView() { view_->editSelection().assign(selected_.begin(), selected_.end()); }

void SelectTool::Resync() {
  ClearSelection();
  if (!view_->drawing()) return;
  for (int i : view_->selection()) AddWithGroup(i);
}

// --- hit testing ---------------------------------------------------------------------

int SelectTool::HitTest(IntPoint p, Scope scope) const {
  const Drawing* d = view_->drawing();
  if (!d) return -1;
  const Viewport& vp = view_->viewport();
  const int page = view_->currentPage();
  const auto hits = [&](int i) {
    const Shape* s = d->GetShape(i);
    if (!s || s->pageIndex != page) return false;
    IntRect r = PixelBounds(vp, *s);
    r.left -= 3, r.top -= 3, r.right += 4, r.bottom += 4;
    return Inside(r, p) && s->HitTest(vp, p, nullptr);
  };
  if (scope != Scope::kSelected) {
    for (int i = d->Count() - 1; i >= 0; --i)
      if (!selected_.count(i) && hits(i)) return i;
  }
  if (scope != Scope::kUnselected) {
    for (int i : selected_)
      if (hits(i)) return i;
  }
  return -1;
}

// --- frame, handles and marks ----------------------------------------------------------

IntRect SelectTool::PixelFrame() const {
  const Viewport& vp = view_->viewport();
  IntRect f = Normalized(IntRect{vp.toScreenX(left_), vp.toScreenY(top_), vp.toScreenX(right_), vp.toScreenY(bottom_)});
  f.left -= 1, f.top -= 1, f.right += 1, f.bottom += 1;
  if (f.right - f.left < 9) {
    const int d = (9 - (f.right - f.left)) / 2;
    f.left -= d;
    f.right += d + 1;
  }
  if (f.bottom - f.top < 9) {
    const int d = (9 - (f.bottom - f.top)) / 2;
    f.top -= d;
    f.bottom += d + 1;
  }
  return f;
}

void SelectTool::Handles(IntPoint out[9]) const {
  IntRect r = PixelFrame();
  r.left -= 4, r.top -= 4, r.right += 4, r.bottom += 4;
  const int mx = (r.left + r.right) / 2;
  const int my = (r.top + r.bottom) / 2;
  out[0] = {r.left, r.top};
  out[1] = {mx, r.top};
  out[2] = {r.right, r.top};
  out[3] = {r.right, my};
  out[4] = {r.right, r.bottom};
  out[5] = {mx, r.bottom};
  out[6] = {r.left, r.bottom};
  out[7] = {r.left, my};
  out[8] = {mx, my};
}

bool SelectTool::HandleVisible(int i) const {
  switch (i) {
    case 2:
    case 6:
      return rotateAllowed_ || cornersAllowed_;
    case 0:
    case 4:
      return cornersAllowed_;
    case 8:
      return true;
    default:
      return edgesAllowed_;
  }
}

void SelectTool::DrawMarks(Surface* dc) {
  if (selected_.empty() || !view_->drawing()) return;
  Surface window;
  Surface* const feedback = FeedbackTarget(dc, window);
  if (!feedback) return;
  Surface& target = *feedback;
  const int oldMode = target.SetROP2(R2_NOTXORPEN);
  const Pen oldPen = target.SelectPen(kBlackPen);
  const Brush oldBrush = target.SelectBrush(kNullBrush);
  const IntRect f = PixelFrame();
  // Four separate sides, so that no corner pixel is inverted twice.
  target.MoveTo(f.left, f.top);
  target.LineTo(f.right, f.top);
  target.LineTo(f.right, f.bottom);
  target.LineTo(f.left, f.bottom);
  target.LineTo(f.left, f.top);
  IntPoint h[9];
  Handles(h);
  const IntRect client = view_->host().ClientRect();
  for (int i = 0; i < 9; ++i) {
    if (!Inside(client, h[i]) || !HandleVisible(i)) continue;
    int kind = i == 8 ? 0 : 1;
    if ((i == 2 || i == 6) && rotateAllowed_) kind = 2;
    DrawHandleImage(target, h[i], kind);
  }
  target.SelectBrush(oldBrush);
  target.SelectPen(oldPen);
  target.SetROP2(oldMode);
  if (!dc) {
    view_->PresentFeedback(IntRect{f.left - 11, f.top - 11, f.right + 12, f.bottom + 12});
  }
}

int SelectTool::Classify(IntPoint p) {
  grabbed_ = -1;
  if (!selected_.empty()) {
    IntPoint h[9];
    Handles(h);
    for (int i = 0; i < 9; ++i) {
      if (Distance(h[i], p) > kPickDistance) continue;
      grabbed_ = i;
      switch (i) {
        case 0:
        case 4:
          return cornersAllowed_ ? kScale : kBand;
        case 1:
        case 3:
        case 5:
        case 7:
          return edgesAllowed_ ? kScale : kBand;
        case 2:
        case 6:
          return rotateAllowed_ ? kRotate : (cornersAllowed_ ? kScale : kBand);
        default:
          return kMove;
      }
    }
    if (Inside(PixelFrame(), p)) {
      if (view_->KeyDown(HostKey::kControl)) return kBand;
      return HitTest(p, Scope::kSelected) >= 0 ? kMove : kBand;
    }
  }
  return kBand;
}

// --- press, drag, release ------------------------------------------------------------

void SelectTool::StartBand() {
  dragMode_ = kBand;
  DrawFocusBand();
}

void SelectTool::StylusDown(uint32_t flags, IntPoint raw) {
  if (!view_->drawing()) return;
  // An undo may have taken selected shapes away since the last resync.
  if (!selected_.empty() && *selected_.rbegin() >= view_->drawing()->Count()) {
    Resync();
    CopyToView();
  }
  const bool ctrl = view_->KeyDown(HostKey::kControl);
  const bool shift = view_->KeyDown(HostKey::kShift);
  dragMode_ = Classify(raw);
  hitShape_ = HitTest(raw, Scope::kAll);
  dragTransform_ = Transform();
  Tool::StylusDown(flags, view_->SnapPoint(raw));

  if (dragMode_ == kBand && ctrl) {
    if (shift) {
      const int hit = HitTest(raw, Scope::kSelected);
      if (hit >= 0) {
        EndPress();
        DrawMarks();
        RemoveWithGroup(hit);
        DrawMarks();
        CopyToView();
        return;
      }
      StartBand();
      return;
    }
    const int hit = HitTest(raw, Scope::kUnselected);
    if (hit >= 0) {
      DrawMarks();
      AddWithGroup(hit);
      CopyToView();
      if (selected_.size() > 1) {
        DrawMarks();
        EndPress();
        return;
      }
      dragMode_ = kCopyMove;
    } else if (hitShape_ >= 0 && selected_.count(hitShape_)) {
      DrawMarks();
      dragMode_ = kCopyMove;
    } else {
      StartBand();
      return;
    }
  } else if (dragMode_ == kBand && hitShape_ < 0) {
    DrawMarks();
    ClearSelection();
    CopyToView();
    StartBand();
    return;
  } else if (dragMode_ == kBand && selected_.count(hitShape_)) {
    dragMode_ = kMove;
    DrawMarks();
  } else if (dragMode_ == kBand) {
    // Erasing and redrawing the marks around the change leaves them hidden
    // for the drag, as every drag has them.
    DrawMarks();
    ClearSelection();
    AddWithGroup(hitShape_);
    CopyToView();
    dragMode_ = kMove;
  } else {
    if (dragMode_ == kMove && ctrl) dragMode_ = kCopyMove;
    DrawMarks();
  }
  TakeSnapshot();
}

void SelectTool::TakeSnapshot() {
  DibImage* pixels = view_->FeedbackPixels();
  if (!pixels) return;
  const bool sameSize = [&](const std::unique_ptr<DibImage>& b) {
    return b && b->header.width == pixels->header.width && b->header.height == pixels->header.height;
  }(snapshot_);
  if (!sameSize) {
    snapshot_ = std::make_unique<DibImage>(*pixels);
  } else {
    snapshot_->bits = pixels->bits;
  }
}

void SelectTool::StylusMove(uint32_t flags, IntPoint p) {
  p = view_->SnapPoint(p);
  if (!pressed_ || p == lastPoint_) {
    Tool::StylusMove(flags, p);
    return;
  }
  if (dragMode_ == kBand) {
    DrawFocusBand();
    Tool::StylusMove(flags, p);
    DrawFocusBand();
    return;
  }
  Tool::StylusMove(flags, p);
  ComposeDrag();
}

void SelectTool::ComposeDrag() {
  DibImage* pixels = view_->FeedbackPixels();
  if (!pixels || !snapshot_) return;
  if (!compose_ || compose_->header.width != snapshot_->header.width ||
      compose_->header.height != snapshot_->header.height) {
    compose_ = std::make_unique<DibImage>(*snapshot_);
  } else {
    compose_->bits = snapshot_->bits;
  }
  dragTransform_ = DragTransform();
  Surface memory(compose_.get());
  DrawPreview(memory);
  // One block to the window.
  if (pixels->bits.size() == compose_->bits.size()) pixels->bits = compose_->bits;
  view_->PresentFeedback(view_->host().ClientRect());
}

Transform SelectTool::DragTransform() const {
  Transform t;
  const Viewport& vp = view_->viewport();
  const PointF d = vp.fromScreen(downPoint_);
  const PointF u = vp.fromScreen(lastPoint_);
  const PointF c{(left_ + right_) * 0.5f, (top_ + bottom_) * 0.5f};
  switch (dragMode_) {
    case kMove:
    case kCopyMove: {
      float dx = u.x - d.x;
      float dy = u.y - d.y;
      if (view_->KeyDown(HostKey::kShift)) {
        if (std::abs(dx) >= std::abs(dy)) {
          dy = 0;
        } else {
          dx = 0;
        }
      }
      t.Translate(-dx, -dy);  // Translate moves points by minus its argument
      break;
    }
    case kRotate: {
      double a = 0.0;
      if (!Near(d, u) && !Near(d, c) && !Near(u, c)) {
        const double from = NormalizeAngle(std::atan2(double(d.y) - c.y, double(d.x) - c.x));
        const double to = NormalizeAngle(std::atan2(double(u.y) - c.y, double(u.x) - c.x));
        a = to - from;
        if (std::abs(a) > kPi) a -= 2.0 * kPi * (a > 0 ? 1.0 : -1.0);
      }
      // The operation added last acts first: to the centre, turn, back.
      t.Translate(-c.x, -c.y);
      t.Rotate(float(a));
      t.Translate(c.x, c.y);
      break;
    }
    case kScale: {
      PointF f{};
      float sx = 1.0f, sy = 1.0f;
      const auto k = [&] {
        const float num = std::hypot(u.x - f.x, u.y - f.y);
        return num / Guard(std::hypot(d.x - f.x, d.y - f.y));
      };
      switch (grabbed_) {
        case 0:
          f = {right_, bottom_};
          sx = k() * Sign(f.x - u.x), sy = k() * Sign(f.y - u.y);
          break;
        case 1:
          f = {c.x, bottom_};
          sy = (u.y - f.y) / Guard(d.y - f.y);
          break;
        case 2:
          f = {left_, bottom_};
          sx = k() * Sign(u.x - f.x), sy = k() * Sign(f.y - u.y);
          break;
        case 3:
          f = {left_, c.y};
          sx = (u.x - f.x) / Guard(d.x - f.x);
          break;
        case 4:
          f = {left_, top_};
          sx = k() * Sign(u.x - f.x), sy = k() * Sign(u.y - f.y);
          break;
        case 5:
          f = {c.x, top_};
          sy = (u.y - f.y) / Guard(d.y - f.y);
          break;
        case 6:
          f = {right_, top_};
          sx = k() * Sign(f.x - u.x), sy = k() * Sign(u.y - f.y);
          break;
        case 7:
          f = {right_, c.y};
          sx = (u.x - f.x) / Guard(d.x - f.x);
          break;
        default:
          break;
      }
      if (!freeScaling_) {
        // Text and pictures neither mirror nor shrink to nothing.
        const float scale = vp.getScale();
        if (sx < 0.1f && (right_ - left_) * sx * scale < 4.0f) sx = 0.1f;
        if (sy < 0.1f && (bottom_ - top_) * sy * scale < 4.0f) sy = 0.1f;
        if (grabbed_ == 0 || grabbed_ == 2 || grabbed_ == 4 || grabbed_ == 6) sx = sy = std::max(sx, sy);
      }
      t.Translate(-f.x, -f.y);
      t.Scale(sx, sy);
      t.Translate(f.x, f.y);
      break;
    }
    default:
      break;
  }
  return t;
}

void SelectTool::DrawOutline(Surface& dc, const Shape& shape, const Transform& t) {
  const Viewport& vp = view_->viewport();
  const auto draw = [&](const auto& points, bool close) {
    scratch_.clear();
    for (const auto& q : points) {
      const PointF r = t.Apply(PointF{float(q.x), float(q.y)});
      scratch_.push_back(vp.toScreen(r));
    }
    if (close && !scratch_.empty()) scratch_.push_back(scratch_.front());
    if (scratch_.size() > 1) dc.Polyline(scratch_.data(), scratch_.size());
  };
  if (const PathContent* path = shape.path()) {
    for (const PolyPoints& contour : path->flattened) draw(contour, false);
  } else if (const TextContent* text = shape.text()) {
    if (text->paragraph()) {
      draw(text->boxPolygon, false);
    } else {
      // Artistic text shows as itself, in black so that the not-XOR inverts.
      std::unique_ptr<Shape> moved = shape.Clone();
      moved->fillColor = 0x000000;
      moved->Transform(t);
      ShapeRenderer renderer(dc, vp);
      renderer.DrawText(*moved, *moved->text());
    }
  } else if (const ImageContent* image = shape.image()) {
    const RectF& r = image->placement;
    const PointF corners[4] = {{r.xmin, r.ymin}, {r.xmax, r.ymin}, {r.xmax, r.ymax}, {r.xmin, r.ymax}};
    draw(corners, true);
  }
}

void SelectTool::DrawPreview(Surface& dc) {
  if (!dragged_) return;
  const Drawing* d = view_->drawing();
  if (!d) return;
  const int oldMode = dc.SetROP2(R2_NOTXORPEN);
  const Pen oldPen = dc.SelectPen(kBlackPen);
  const int oldBk = dc.SetBkMode(TRANSPARENT);
  previewStart_ = std::chrono::steady_clock::now();
  for (int i : selected_) {
    if (const Shape* s = d->GetShape(i)) DrawOutline(dc, *s, dragTransform_);
    // On a slow device the preview gives up once newer input waits.
    if (pressed_ && view_->stylusMovePending && std::chrono::steady_clock::now() - previewStart_ > kPreviewBudget &&
        view_->stylusMovePending())
      break;
  }
  dc.SetBkMode(oldBk);
  dc.SelectPen(oldPen);
  dc.SetROP2(oldMode);
}

void SelectTool::DrawOverlay(Surface& dc) {
  if (!pressed_) {
    DrawMarks(&dc);
  } else if (dragMode_ == kBand) {
    DrawFocusBand(&dc);
  } else {
    DrawPreview(dc);
  }
}

void SelectTool::ApplyBand() {
  const Drawing& d = *view_->drawing();
  const Viewport& vp = view_->viewport();
  const bool ctrl = view_->KeyDown(HostKey::kControl);
  const bool shift = view_->KeyDown(HostKey::kShift);
  const bool removing = ctrl && shift;
  const IntRect band = SpanRect(downPoint_, lastPoint_);
  const auto within = [&](IntPoint p) {
    return p.x >= band.left && p.x <= band.right && p.y >= band.top && p.y <= band.bottom;
  };
  std::vector<int> collected;
  for (int i = 0; i < d.Count(); ++i) {
    if (bool(selected_.count(i)) != removing) continue;
    const Shape* s = d.GetShape(i);
    if (within(vp.toScreen(PointF{s->bounds.xmin, s->bounds.ymin})) &&
        within(vp.toScreen(PointF{s->bounds.xmax, s->bounds.ymax})))
      collected.push_back(i);
  }
  DrawMarks();
  if (!ctrl && !shift) ClearSelection();
  for (int i : collected) {
    if (removing) {
      RemoveWithGroup(i);
    } else if (d.GetShape(i)->pageIndex == view_->currentPage()) {
      AddWithGroup(i);
    }
  }
  DrawMarks();
  CopyToView();
}

void SelectTool::StylusUp(uint32_t flags, IntPoint p) {
  p = view_->SnapPoint(p);
  bool properties = false;
  if (pressed_) {
    Tool::StylusUp(flags, p);
    if (dragMode_ == kBand) {
      // The band stays where the last move left it.
      DrawFocusBand();
      ApplyBand();
    } else if (p == downPoint_) {
      if (selected_.size() == 1) {
        const Shape* s = view_->drawing()->GetShape(*selected_.begin());
        if (const TextContent* text = s ? s->text() : nullptr) {
          const std::u16string_view t = Trimmed(text->text);
          properties = t.size() >= 3 && t.substr(0, 2) == u"<!" && t.back() == u'>';
        }
      }
      view_->host().Invalidate(true);
    } else {
      lastPoint_ = p;
      dragTransform_ = DragTransform();
      Commit();
      Resync();
      view_->host().Invalidate(true);
    }
  }
  dragMode_ = kBand;
  dragTransform_ = Transform();
  Refresh();
  snapshot_.reset();
  if (properties) view_->host().PostCommand(cmd::kProperties);
}

void SelectTool::Commit() {
  Drawing& d = *view_->drawing();
  view_->host().SetWaitCursor(true);
  Selection& selection = view_->editSelection();
  if (dragMode_ == kCopyMove) {
    // The copies come in where the originals are, through a clipboard of
    // the tool's own, so the user's clipboard stays as it was.
    Drawing clipboard;
    if (Copy(d, selection, clipboard)) {
      (void)view_->undo().RecordPaste(true, d.Count(), clipboard.Count());
      const RectF box = [&] {
        RectF r = EmptyUnionStart();
        for (int i : ValidSelection(d, selection)) r = Union(r, d.GetShape(i)->bounds);
        return r;
      }();
      (void)Paste(d, selection, clipboard, view_->currentPage(), PointF{box.xmin, box.ymin});
    }
  } else {
    (void)view_->undo().RecordTransform(true, selection, dragTransform_);
  }
  TransformSelection(d, selection, dragTransform_);
  for (int i : selection)
    if (Shape* s = d.GetShape(i)) s->UpdateBounds();
  view_->MarkModified();
  view_->host().SetWaitCursor(false);
}

void SelectTool::DoubleTap(uint32_t /*flags*/, IntPoint p) {
  if (Distance(p, downPoint_) <= kPickDistance && !selected_.empty()) view_->host().PostCommand(cmd::kProperties);
}

void SelectTool::Activate() {
  Tool::Activate();
  Resync();
}

void SelectTool::Deactivate() {
  if (pressed_) {
    EndPress();
    if (dragMode_ == kBand) DrawFocusBand();
  }
  DrawMarks();
  ClearSelection();
  dragMode_ = kBand;
  snapshot_.reset();
}

}  // namespace zel

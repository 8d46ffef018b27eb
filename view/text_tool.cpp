#include "view/text_tool.h"

#include <cmath>
#include <memory>

#include "model/shape.h"
#include "model/text_layout.h"
#include "view/command_ids.h"
#include "view/zel_view.h"

namespace zel {

void TextTool::StylusUp(uint32_t flags, IntPoint p) {
  Tool::StylusUp(flags, p);
  Drawing* d = view_->drawing();
  // The properties sheet edits the view's text settings for the new text.
  if (!d || !view_->host().RunDialog(cmd::kToolText)) return;
  const CurrentStyle& style = view_->style();
  auto shape = std::make_unique<Shape>(KindText);
  TextContent* text = shape->text();
  shape->fillColor = style.textColor;
  shape->pageIndex = view_->currentPage();
  text->text = style.text;
  text->anchor = view_->viewport().fromScreen(p);
  text->faceName = style.faceName;
  text->size = style.textSize;
  text->styleBits = style.styleBits;
  text->alignment = style.alignment;
  text->textType = style.textType;
  if (text->paragraph()) {
    text->angle = 0.0f;
    // The box starts at the size the text takes at design size.
    TextExtent extent{};
    if (auto font = TextFont(*text)) extent = TextBlockExtent(*text, *font);
    text->corner = PointF{text->anchor.x + std::abs(float(extent.cx)),
                          text->anchor.y + std::abs(float(extent.cy))};
  } else {
    text->angle = style.angle;
    text->corner = text->anchor;
  }
  shape->UpdateBounds();
  (void)view_->undo().RecordAdd(true, 1);
  d->Add(std::move(shape));
  view_->host().Invalidate(true);
  view_->MarkModified();
}

}  // namespace zel

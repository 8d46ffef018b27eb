#include "view/zel_view.h"

#include <cctype>

#include "platform/font.h"
#include "platform/utf16.h"
#include "render/page_paint.h"
#include "render/surface.h"
#include "view/command_ids.h"

namespace zel {

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// "Tahoma" when the screen has it, else the first family there is.
std::u16string DefaultFaceName() {
  const std::vector<std::string> families = FontFamilies();
  for (const std::string& f : families)
    if (Upper(f) == "TAHOMA") return u"Tahoma";
  if (!families.empty()) return Utf16FromUtf8(families.front());
  return u"Tahoma";
}

}  // namespace

CZelView::CZelView(ViewHost& host, SettingsStore& settings, int32_t& unit)
    : host_(host), settings_(settings), unit_(unit) {
  prefs_ = LoadViewPreferences(settings_);
  style_.penColor = prefs_.penColor;
  style_.fillColor = prefs_.brushColor;
  style_.textColor = prefs_.textColor;
  style_.textType = prefs_.textType;
  style_.textSize = prefs_.textHeight;
  style_.faceName = DefaultFaceName();
  LoadMeasurementUnit(settings_, unit_);
}

CZelView::~CZelView() {
  ViewPreferences out = prefs_;
  out.penColor = style_.penColor;
  out.brushColor = style_.fillColor;
  out.textColor = style_.textColor;
  out.textType = style_.textType;
  out.textHeight = style_.textSize;
  SaveViewPreferences(settings_, out);
  SaveMeasurementUnit(settings_, unit_);
}

void CZelView::PostInitialFit() {
  const bool empty = drawing() == nullptr || drawing()->Count() == 0;
  host_.PostCommand(showPage_ && empty ? cmd::kFitPage : cmd::kFitDrawing);
}

void CZelView::OnInitialUpdate() {
  if (drawing()) undo_.Attach(drawing(), &selection_, &currentPage_);
  // The posted command inverts the flag back and applies the stored state
  // together with its scroll ranges.
  prefs_.showScrollBars = !prefs_.showScrollBars;
  host_.PostCommand(cmd::kScrollBars);
  showPage_ = LoadShowPage(settings_);
  ActivateTool(kPanTool);
  PostInitialFit();
}

void CZelView::ResetToInitialState() {
  selection_.clear();
  currentPage_ = 0;
  if (drawing()) {
    undo_.Attach(drawing(), &selection_, &currentPage_);
    ActivateTool(kPanTool);
    PostInitialFit();
  }
}

ViewSettings CZelView::PaintSettings() const {
  ViewSettings s;
  s.showGrid = prefs_.showGrid;
  s.gridSpacing = prefs_.gridSpacing;
  s.snapSpacing = prefs_.snapSpacing;
  s.showScrollBars = prefs_.showScrollBars;
  s.showPage = showPage_;
  return s;
}

bool CZelView::EnsureBitmaps(int width, int height) {
  const auto fits = [&](const std::unique_ptr<DibImage>& b) {
    return b && b->header.width == width && b->header.height == height;
  };
  // The off-screen bitmap is kept between paints and made again only when
  // the window's size changes.
  if (!fits(offscreen_)) {
    offscreen_ = CreateSection24(width, height);
    if (!offscreen_) return false;
  }
  if (!fits(window_)) {
    window_ = CreateSection24(width, height);
    if (!window_) return false;
  }
  return true;
}

void CZelView::OnPaint() {
  if (!initialised_) {
    // The first paint only fits the drawing; the invalidation it makes
    // brings the real paint.
    FitDrawingCommand();
    initialised_ = true;
    return;
  }
  const IntRect client = Client();
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0 || !EnsureBitmaps(width, height)) return;

  Surface memory(offscreen_.get());
  const IntRect area{0, 0, width, height};
  if (drawing()) {
    PaintViewContent(memory, *drawing(), viewport_, area, currentPage_, PaintSettings());
  } else {
    memory.FillRect(area, 0xFFFFFF);
  }
  Surface window(window_.get());
  window.BitBlt(0, 0, width, height, memory, 0, 0, SRCCOPY);
  DrawToolOverlay(window);
  host_.Present(*window_, area);
}

}  // namespace zel

// CZelView: the drawing window's logic. It owns the screen viewport, the
// style for new shapes, the view settings, the selection, the undo history
// and the two pictures of painting (the kept off-screen bitmap and the
// window surface), and reaches the window only through its ViewHost.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/dib.h"
#include "model/drawing.h"
#include "model/edit_ops.h"
#include "model/undo_manager.h"
#include "model/viewport.h"
#include "render/view_ops.h"
#include "view/settings_store.h"
#include "view/view_document.h"
#include "view/view_host.h"
#include "view/view_preferences.h"

namespace zel {

class Tool;
class Surface;

// What new shapes get: the creating tools and the properties sheet use it.
struct CurrentStyle {
  int32_t penStyle = kPenSolid;
  int32_t lineWidth = kLineFine;
  ColorRef penColor = kDefaultPenColor;
  int32_t brushStyle = kBrushSolid;
  ColorRef fillColor = kDefaultBrushColor;
  std::u16string faceName = u"Tahoma";
  float textSize = kDefaultTextSize;
  uint32_t styleBits = 0;
  float angle = 0.0f;
  int32_t alignment = kAlignLeft;
  int32_t textType = kTextArtistic;
  std::u16string text = u"my text";
  ColorRef textColor = 0;
};

// Enabled and checked state of a command, as its update rule sets them.
struct CommandUi {
  bool enabled = true;
  bool checked = false;
};

class CZelView {
 public:
  // Tool ids the view itself activates.
  static constexpr int kSelectTool = 0;
  static constexpr int kPanTool = 2;
  static constexpr int kShapeTool = 15;

  // Reads the settings and the stored measurement unit (into unit, which
  // the application owns and which outlives the view).
  CZelView(ViewHost& host, SettingsStore& settings, int32_t& unit);
  // Writes the settings and the measurement unit back.
  ~CZelView();
  CZelView(const CZelView&) = delete;
  CZelView& operator=(const CZelView&) = delete;

  // The document whose drawing the view shows and edits; null while there
  // is none.
  void SetDocument(ViewDocument* document) { document_ = document; }
  ViewDocument* document() const { return document_; }
  Drawing* drawing() const { return document_ ? &document_->drawing() : nullptr; }

  // The first update after the window exists: posts the scroll-bar and
  // fitting commands.
  void OnInitialUpdate();
  // A new or opened document: page 0, empty selection and history, fitted.
  void ResetToInitialState();

  // --- messages --------------------------------------------------------------
  void OnPaint();
  void OnTimer(int id);
  void OnScroll(bool horizontal, int code, int position);
  // True when the view handles the command (it is then not routed further).
  bool OnCommand(int id);
  // False when the view has no update rule for the command.
  bool OnUpdateCommand(int id, CommandUi& ui) const;

  // --- state other parts read ------------------------------------------------
  int currentPage() const { return currentPage_; }
  void SetCurrentPage(int page) { currentPage_ = page; }
  const Viewport& viewport() const { return viewport_; }
  Viewport& viewport() { return viewport_; }
  CurrentStyle& style() { return style_; }
  const CurrentStyle& style() const { return style_; }
  ViewPreferences& preferences() { return prefs_; }
  const ViewPreferences& preferences() const { return prefs_; }
  bool showPage() const { return showPage_; }
  void SetShowPage(bool on) { showPage_ = on; }
  bool initialised() const { return initialised_; }
  int currentTool() const { return currentTool_; }
  void ActivateTool(int id);
  const Selection& selection() const { return selection_; }
  UndoManager& undo() { return undo_; }
  ViewHost& host() { return host_; }

  // The window's pixels as last presented; null before the first paint.
  const DibImage* windowPixels() const { return window_.get(); }

  // --- stylus and tools (zel_view_stylus.cpp) ------------------------------------
  // Stylus events in window pixels; flags are the toolkit's button flags.
  void OnStylusDown(uint32_t flags, IntPoint p);
  void OnStylusMove(uint32_t flags, IntPoint p);
  void OnStylusUp(uint32_t flags, IntPoint p);
  void OnDoubleTap(uint32_t flags, IntPoint p);
  // The tool object of an id, null for an id without one.
  Tool* GetTool(int id);
  Tool* CurrentToolObject() { return GetTool(currentTool_); }
  // The selection as the tools and commands change it.
  Selection& editSelection() { return selection_; }
  // Rebuilds the selection tool's working selection from the list.
  void ResyncSelection();
  // The window's own pixels, where tools draw their exclusive-or feedback;
  // made at the client size when missing. Null when the client is empty.
  DibImage* FeedbackPixels();
  // Shows the given area of the window pixels on the screen.
  void PresentFeedback(const IntRect& area);
  void MarkModified();
  IntPoint SnapPoint(IntPoint p) const;
  bool KeyDown(HostKey key) const { return host_.IsKeyDown(key); }
  // Adds one path of the given nodes in the current style on the current
  // page, recording the addition; an open path is never filled.
  void AddPath(SubPath nodes, bool open);
  // Set by the window: whether a newer stylus move is already waiting, so
  // that a slow outline preview can give up.
  std::function<bool()> stylusMovePending;

  // --- viewport commands ------------------------------------------------------
  void FitDrawingCommand();
  void FitPageCommand();
  void UpdateScrollBars();

 private:
  ViewSettings PaintSettings() const;
  IntRect Client() const { return host_.ClientRect(); }
  void PostInitialFit();
  void AfterZoom();
  bool EnsureBitmaps(int width, int height);
  void EnsureTools();
  void DrawToolOverlay(Surface& window);
  void PlaceText();

  ViewHost& host_;
  SettingsStore& settings_;
  int32_t& unit_;
  ViewDocument* document_ = nullptr;
  Viewport viewport_;
  bool initialised_ = false;
  CurrentStyle style_;
  UndoManager undo_;
  ViewPreferences prefs_;
  int currentPage_ = 0;
  bool showPage_ = true;
  int currentTool_ = -1;
  Selection selection_;
  std::unique_ptr<DibImage> offscreen_;
  std::unique_ptr<DibImage> window_;
  // One tool per id, made with the first use (shared pointers, so that the
  // tool classes stay unknown here).
  std::vector<std::shared_ptr<Tool>> tools_;
};

}  // namespace zel

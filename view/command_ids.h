// Command identifiers of menus, toolbars, accelerators and posted commands.
#pragma once

namespace zel::cmd {

// File commands (document and application).
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kAppExit = 57665;
inline constexpr int kTemplate = 32936;
inline constexpr int kImport = 32843;
inline constexpr int kExportBitmap = 32895;
inline constexpr int kSendMail = 32930;
inline constexpr int kSendFtp = 32931;

// Tools.
inline constexpr int kToolSelect = 32790;
inline constexpr int kToolZoom = 32791;
inline constexpr int kToolPan = 32792;
inline constexpr int kToolDraw = 32814;
inline constexpr int kToolLine = 32834;
inline constexpr int kToolRectangle = 32837;
inline constexpr int kToolEllipse = 32838;
inline constexpr int kToolBezier = 32846;
inline constexpr int kToolText = 32847;
inline constexpr int kToolShape = 32857;
inline constexpr int kProperties = 32795;

// Viewport.
inline constexpr int kFitDrawing = 32804;
inline constexpr int kZoomIn = 32805;
inline constexpr int kZoomOut = 32807;
inline constexpr int kFitToWindow = 32808;
inline constexpr int kZoomArea = 32809;
inline constexpr int kZoomOneToOne = 32889;
inline constexpr int kFitPage = 32914;
inline constexpr int kScrollLeft = 32885;
inline constexpr int kScrollRight = 32886;
inline constexpr int kScrollUp = 32887;
inline constexpr int kScrollDown = 32888;
inline constexpr int kGrid = 32892;
inline constexpr int kScrollBars = 32905;
inline constexpr int kSettings = 32893;
inline constexpr int kHelp = 57670;

}  // namespace zel::cmd

// CZelApp: the editor's application object. It starts the program, owns
// what lives as long as the process (the settings store, the internal
// clipboard drawing and the measurement unit) and handles the application
// commands New, Open and Exit.
#pragma once

#include <cstdint>

#include <wx/app.h>

#include "model/drawing.h"
#include "shell/settings_file.h"

namespace zel {

class CMainFrame;

class CZelApp final : public wxApp {
 public:
  CZelApp();

  bool OnInit() override;
  int OnExit() override;

  SettingsFile& settings() { return settings_; }
  Drawing& clipboardDrawing() { return clipboard_; }
  int32_t& measurementUnit() { return unit_; }

  // New, Open and Exit; false for other commands.
  bool OnCommand(int id);

 private:
  SettingsFile settings_;
  Drawing clipboard_;
  int32_t unit_;
  CMainFrame* frame_ = nullptr;
};

}  // namespace zel

// Shape menu style commands and colour picks on the selection.
#include <algorithm>

#include "model/edit_ops.h"

namespace zel {

namespace {

int32_t PresetWidth(StyleCommand command) {
  switch (command) {
    case StyleCommand::Normal: return kLineNormal;
    case StyleCommand::Bold: return kLineBold;
    case StyleCommand::Thick: return kLineThick;
    default: return kLineFine;
  }
}

bool IsWidthPreset(StyleCommand command) {
  return command != StyleCommand::NoLine && command != StyleCommand::NoFill;
}

std::vector<PathContent*> SelectedPaths(Drawing& drawing, const Selection& selection) {
  std::vector<PathContent*> paths;
  for (int i : ValidSelection(drawing, selection)) {
    if (PathContent* p = drawing.GetShape(i)->path()) paths.push_back(p);
  }
  return paths;
}

}  // namespace

bool ApplyStyle(Drawing& drawing, const Selection& selection, StyleCommand command) {
  const std::vector<PathContent*> paths = SelectedPaths(drawing, selection);
  if (paths.empty()) return false;
  if (IsWidthPreset(command)) {
    for (PathContent* p : paths) {
      p->penStyle = kPenSolid;
      p->lineWidth = PresetWidth(command);
    }
  } else if (command == StyleCommand::NoLine) {
    for (PathContent* p : paths) p->penStyle = kPenNull;
  } else {
    const bool allUnfilled = std::all_of(paths.begin(), paths.end(),
                                         [](const PathContent* p) { return !p->filled(); });
    for (PathContent* p : paths) p->brushStyle = allUnfilled ? kBrushSolid : kBrushNull;
  }
  return true;
}

void ApplyStyle(ShapeStyle& defaults, StyleCommand command) {
  if (IsWidthPreset(command)) {
    defaults.penStyle = kPenSolid;
    defaults.lineWidth = PresetWidth(command);
  } else if (command == StyleCommand::NoLine) {
    defaults.penStyle = defaults.penStyle == kPenNull ? kPenSolid : kPenNull;
  } else {
    defaults.brushStyle = defaults.brushStyle == kBrushNull ? kBrushSolid : kBrushNull;
  }
}

bool SetFillColor(Drawing& drawing, const Selection& selection, ColorRef color) {
  bool changed = false;
  for (int i : ValidSelection(drawing, selection)) {
    Shape& s = *drawing.GetShape(i);
    if (PathContent* p = s.path()) {
      p->brushStyle = kBrushSolid;
    } else if (!s.text()) {
      continue;
    }
    s.fillColor = color;  // a text's fill colour is its text colour
    changed = true;
  }
  return changed;
}

bool SetLineColor(Drawing& drawing, const Selection& selection, ColorRef color) {
  const std::vector<PathContent*> paths = SelectedPaths(drawing, selection);
  for (PathContent* p : paths) {
    p->penStyle = kPenSolid;
    p->penColor = color;
  }
  return !paths.empty();
}

}  // namespace zel

// The drawings of examples/: every shape kind, curves, holes, the dotted
// fill, rotated and paragraph text in several fonts and styles, pictures of
// every depth, groups and several pages.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/drawing.h"

namespace zel {

struct ExampleDrawing {
  std::string fileName;  // under examples/
  std::unique_ptr<Drawing> drawing;
};

std::vector<ExampleDrawing> ExampleDrawings();

}  // namespace zel

// The text tool: a tap opens the properties sheet for a new text and, when
// it is confirmed, places the text there in the current text style.
#pragma once

#include "view/tool.h"

namespace zel {

class TextTool final : public Tool {
 public:
  TextTool() : Tool(kTextToolId) {}
  void StylusUp(uint32_t flags, IntPoint p) override;
};

}  // namespace zel

// The document as the view sees it: the drawing every command works on and
// the modified flag that editing commands set.
#pragma once

#include "model/drawing.h"

namespace zel {

class ViewDocument {
 public:
  virtual ~ViewDocument() = default;
  virtual Drawing& drawing() = 0;
  virtual bool IsModified() const = 0;
  virtual void SetModifiedFlag(bool modified) = 0;
};

}  // namespace zel

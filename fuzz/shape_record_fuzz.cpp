// Fuzz target: the binary shape record reader.
//
// Reads records one after another until one is rejected. Each accepted shape
// must write back to a record that reads to the same bytes again, and must
// survive bounds, hit testing and a transform.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "model/shape.h"
#include "model/viewport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zel::ByteReader reader(data, size);
  for (int i = 0; i < 64 && reader.remaining() > 0; ++i) {
    zel::Shape shape;
    if (!shape.Read(reader)) break;

    zel::ByteWriter first;
    shape.Write(first);
    zel::Shape again;
    zel::ByteReader back(first.bytes());
    if (!again.Read(back) || back.remaining() != 0) std::abort();
    zel::ByteWriter second;
    again.Write(second);
    if (second.bytes() != first.bytes()) std::abort();

    zel::Viewport vp(0.5f);
    vp.setOrigin(0, 0, 100, 100);
    zel::HitResult hit;
    (void)shape.HitTest(vp, {100, 100}, &hit);
    zel::Transform t;
    t.Rotate(0.5f);
    t.Scale(2.0f, -0.5f);
    shape.Transform(t);
  }
  return 0;
}

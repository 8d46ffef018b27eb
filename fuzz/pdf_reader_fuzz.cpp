// Fuzz target: the document reader.
//
// Any input must either load or fail with a message. A loaded drawing keeps
// its shapes on its pages, and must survive being written again: the
// writer's output always reads back, with the same shapes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "docformat/byte_sink.h"
#include "docformat/pdf_reader.h"
#include "docformat/pdf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zel::Drawing drawing;
  const bool loaded = zel::ReadPdf(bytes, drawing);
  if (!loaded && size > 0 && drawing.LastError().empty()) std::abort();
  for (int i = 0; i < drawing.Count(); ++i) {
    const zel::Shape* shape = drawing.GetShape(i);
    if (shape->pageIndex < 0 || shape->pageIndex >= drawing.PageCount()) std::abort();
  }
  if (!loaded) return 0;

  zel::MemorySink sink;
  if (!zel::WritePdf(drawing, sink)) std::abort();
  zel::Drawing again;
  if (!zel::ReadPdf(sink.bytes(), again)) std::abort();
  if (again.Count() != drawing.Count() || again.PageCount() != drawing.PageCount()) std::abort();
  for (int i = 0; i < drawing.Count(); ++i) {
    if (again.GetShape(i)->kind() != drawing.GetShape(i)->kind()) std::abort();
  }
  return 0;
}

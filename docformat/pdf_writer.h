// The document writer: a drawing as a PDF 1.3 file that any viewer shows and
// the document reader loads back.
//
// The writer never touches the drawing it is given; it converts a copy to
// document units. Private markers carry what PDF cannot: the creator comment
// that identifies the file, marked-content operators around text, and the
// group record.
#pragma once

#include <string>

#include "docformat/byte_sink.h"
#include "model/drawing.h"

namespace zel {

struct PdfWriteOptions {
  // Streams in stored Flate blocks: the output depends only on the drawing
  // and the installed fonts (their metrics are written), never on the zlib
  // build, so files compare byte for byte. Readers treat them like any other.
  bool deterministic = false;
};

// Writes the whole document to a sink and finishes it. False when a write
// fails (what reached the sink is then incomplete).
[[nodiscard]] bool WritePdf(const Drawing& drawing, ByteSink& out, const PdfWriteOptions& options = {});

// Writes the document to path. True only after the last byte ("%%EOF") was
// written and the file was flushed and closed. The file is written in place:
// to keep an older file safe on failure, write to a temporary file and
// rename it (ExportFile does).
[[nodiscard]] bool SavePdf(const std::string& path, const Drawing& drawing,
                           const PdfWriteOptions& options = {});

}  // namespace zel

// Private state of the document reader, shared by its source files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/drawing.h"

namespace zel {

// The dictionary of a stream object and where its data lie.
struct StreamInfo {
  bool compressed = false;
  bool hasStream = false;    // a "stream" line was found
  int64_t length = -1;       // -1 when no readable /Length
  int64_t width = -1;
  int64_t height = -1;
  size_t dataStart = 0;
  bool sawMarker = false;    // a "%OV" line came before any "stream" line
  size_t markerStart = 0;    // where that line starts
};

// A path being collected from its operators.
struct PathState {
  std::vector<std::vector<PointF>> arrays;
  std::vector<PointF> current;
  bool open = false;
  float width = 1.0f;
  bool widthSeen = false;
  ColorRef stroke = 0;
  ColorRef fill = 0;
  bool strokeSeen = false;
  bool fillSeen = false;
  bool dotted = false;
  std::vector<int64_t> cusps;
};

class DocumentReader {
 public:
  DocumentReader(std::string_view bytes, Drawing& drawing) : bytes_(bytes), drawing_(drawing) {}
  bool Read();

 private:
  bool Damaged(std::u16string_view what);
  bool ReadCrossReference(std::vector<uint64_t>* all);
  void ReadFonts();
  bool ReadContent(int page);
  void ReadGroups();
  // Reads a stream object's dictionary lines from offset on.
  StreamInfo ReadStreamDictionary(uint64_t offset) const;
  // The object's extent: from its offset to the next object's (or the end).
  uint64_t ObjectEnd(size_t entry) const;

  // Content streams (pdf_content_reader.cpp).
  void ReadContentLines(std::string_view data, int page);
  void ReadText(std::string_view data, size_t* pos, int type, int page);
  void EndPath(std::string_view op, int page);
  void ReadImage(std::string_view line, int page);

  std::string_view bytes_;
  Drawing& drawing_;
  std::vector<uint64_t> offsets_;  // from the first content stream on
  std::vector<std::string> fontNames_;
  int64_t treeObjects_ = 0;
  bool skipNextPath_ = false;
  PathState path_;
  RectF placement_;
};

}  // namespace zel

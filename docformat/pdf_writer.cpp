// The document writer's object layout: header, catalogue, page tree, page
// contents, fonts, images, the group record, cross-reference table.
#include "docformat/pdf_writer.h"

#include <string_view>
#include <vector>

#include "docformat/flate.h"
#include "docformat/page_tree.h"
#include "docformat/pdf_text.h"
#include "docformat/pdf_units.h"
#include "docformat/pdf_writer_p.h"
#include "docformat/rgb_samples.h"

namespace zel {

namespace {

constexpr std::string_view kHeader = "%PDF-1.3\r\n%Created by Orvane Draw\r\n";
// Cross-reference offsets have ten digits.
constexpr uint64_t kMaxOffset = 9999999999ull;

class DocumentWriter {
 public:
  DocumentWriter(const Drawing& model, ByteSink& sink, const PdfWriteOptions& options)
      : model_(model), out_(sink), options_(options) {}

  bool Write();

 private:
  void Object(std::string_view text);
  // An object whose dictionary ends in "/Length " and continues with tail:
  // the stream's length is put between the two.
  void StreamObject(std::string_view head, std::string_view tail, std::string_view data);
  bool Compress(std::string_view data, bool image, std::string* out) const;

  void PageTreeObjects();
  void PageObject(int page);
  void ContentObject(int page);
  void ImageObject(const ImageContent& image, int64_t object);
  void GroupsObject();
  void CrossReference();

  const Drawing& model_;
  CountingSink out_;
  const PdfWriteOptions& options_;
  Drawing work_;
  bool ok_ = true;
  std::vector<uint64_t> offsets_;  // entry k - 1: object k
  PageTree tree_;
  std::vector<PdfFont> fonts_;
  std::vector<int> fontOf_;            // per shape, -1 for none
  std::vector<int64_t> imageObject_;   // per shape, 0 for none
  std::vector<std::vector<int>> pageShapes_;
};

void DocumentWriter::Object(std::string_view text) {
  offsets_.push_back(out_.count());
  ok_ = ok_ && out_.Write(text);
}

void DocumentWriter::StreamObject(std::string_view head, std::string_view tail, std::string_view data) {
  std::string s(head);
  AppendInt(s, int64_t(data.size()));
  s += tail;
  offsets_.push_back(out_.count());
  ok_ = ok_ && out_.Write(s) && out_.Write(data) && out_.Write("endstream\r\nendobj\r\n");
}

bool DocumentWriter::Compress(std::string_view data, bool image, std::string* out) const {
  MemorySink memory;
  FlateSink flate(memory, options_.deterministic ? FlateMode::kStored : FlateMode::kCompress);
  if (image) flate.SetHeaderFlags(0xDA);
  if (!flate.Write(data) || !flate.Finish()) return false;
  *out = std::move(memory.bytes());
  return true;
}

void DocumentWriter::PageTreeObjects() {
  const size_t levels = tree_.levels.size();
  std::string s = "3 0 obj\r\n<< /Type /Pages\r\n/Kids [4 0 R";
  for (int64_t k = 1; k < tree_.levels[1]; ++k) {
    s += "\r\n\t";
    AppendInt(s, 4 + k);
    s += " 0 R";
  }
  s += "]\r\n/Count ";
  AppendInt(s, tree_.pages());
  s += "\r\n>>\r\nendobj\r\n";
  Object(s);

  // Intermediate levels, node by node; each node's children are the next
  // six nodes of the level below.
  for (size_t level = 1; level + 1 < levels; ++level) {
    const int64_t first = tree_.FirstObjectOfLevel(level);
    const int64_t parentFirst = tree_.FirstObjectOfLevel(level - 1);
    const int64_t childFirst = tree_.FirstObjectOfLevel(level + 1);
    const int64_t children = tree_.levels[level + 1];
    for (int64_t j = 0; j < tree_.levels[level]; ++j) {
      s.clear();
      AppendInt(s, first + j);
      s += " 0 obj\r\n<< /Type /Pages\r\n/Parent ";
      AppendInt(s, level == 1 ? kRootPagesObject : parentFirst + j / kPageTreeFanOut);
      s += " 0 R\r\n/Kids [";
      const int64_t c0 = j * kPageTreeFanOut;
      for (int64_t c = c0; c < c0 + kPageTreeFanOut && c < children; ++c) {
        if (c != c0) s += "\r\n\t";
        AppendInt(s, childFirst + c);
        s += " 0 R";
      }
      s += "]\r\n/Count ";
      AppendInt(s, tree_.PagesBelow(level, j));
      s += "\r\n>>\r\nendobj\r\n";
      Object(s);
    }
  }
}

void DocumentWriter::PageObject(int page) {
  const PageSize size = work_.GetPageSize();
  bool text = false, image = false;
  std::vector<int> fontsUsed;
  for (int i : pageShapes_[size_t(page)]) {
    if (fontOf_[size_t(i)] >= 0) {
      text = true;
      bool seen = false;
      for (int f : fontsUsed) seen = seen || f == fontOf_[size_t(i)];
      if (!seen) fontsUsed.push_back(fontOf_[size_t(i)]);
    }
    if (imageObject_[size_t(i)]) image = true;
  }
  std::string s;
  AppendInt(s, tree_.PageObject(page));
  s += " 0 obj\r\n<< /Type /Page\r\n/Parent ";
  AppendInt(s, tree_.PageParent(page));
  s += " 0 R\r\n/MediaBox [0 0 ";
  AppendFixed(s, double(size.width) * kModelToPoints, 4);
  s += ' ';
  AppendFixed(s, double(size.height) * kModelToPoints, 4);
  s += "]\r\n/Contents ";
  AppendInt(s, tree_.ContentObject(page));
  s += " 0 R\r\n/Resources << /ProcSet [/PDF";
  if (text) s += " /Text";
  if (image) s += " /ImageC";
  s += ']';
  if (text) {
    s += "\r\n/Font << ";
    const int64_t fontFirst = tree_.ContentObject(tree_.pages());
    for (int f : fontsUsed) {
      s += "/F";
      AppendInt(s, f + kFontResourceBase);
      s += ' ';
      AppendInt(s, fontFirst + 3 * f);
      s += " 0 R ";
    }
    s += ">>";
  }
  if (image) {
    s += "\r\n/XObject << ";
    for (int i : pageShapes_[size_t(page)]) {
      if (const int64_t object = imageObject_[size_t(i)]) {
        s += "/Im";
        AppendInt(s, object);
        s += ' ';
        AppendInt(s, object);
        s += " 0 R ";
      }
    }
    s += ">>";
  }
  s += "\r\n>>\r\n>>\r\nendobj\r\n";
  Object(s);
}

void DocumentWriter::ContentObject(int page) {
  std::string text;
  for (int i : pageShapes_[size_t(page)]) {
    const Shape* shape = work_.GetShape(i);
    if (shape->path()) {
      AppendPathContent(text, *shape);
    } else if (shape->text()) {
      AppendTextContent(text, *shape, *model_.GetShape(i)->text(), fontOf_[size_t(i)]);
    } else if (const ImageContent* image = shape->image()) {
      AppendImageContent(text, *image, imageObject_[size_t(i)]);
    }
  }
  std::string head;
  AppendInt(head, tree_.ContentObject(page));
  head += " 0 obj\r\n<< /Length ";
  if (text.empty()) {
    // An empty page has no bytes to inflate; the stream goes unfiltered.
    StreamObject(head, "\r\n>>\r\nstream\r\n", {});
    return;
  }
  // The reader stops at the zero byte after the text.
  text += '\0';
  std::string packed;
  if (Compress(text, false, &packed)) {
    StreamObject(head, "\r\n/Filter [/FlateDecode ]>>\r\nstream\r\n", packed);
  } else {
    text.pop_back();
    StreamObject(head, "\r\n>>\r\nstream\r\n", text);
  }
}

void DocumentWriter::ImageObject(const ImageContent& image, int64_t object) {
  std::string samples;
  int width = 0, height = 0;
  if (!DibToRgb(image.dib, &samples, &width, &height)) {
    // Every image shape keeps its object, or the numbering of the pictures
    // after it would shift: a bitmap that cannot be drawn gets one white pixel.
    samples.assign(3, char(0xFF));
    width = height = 1;
  }
  std::string head;
  AppendInt(head, object);
  head += " 0 obj\r\n<<\r\n/Type /XObject\r\n/Subtype /Image\r\n/Name /Im";
  AppendInt(head, object);
  std::string packed;
  std::string size = "\r\n/Width ";
  AppendInt(size, width);
  size += "\r\n/Height ";
  AppendInt(size, height);
  if (Compress(samples, true, &packed)) {
    head += "\r\n/Filter [/FlateDecode ]" + size +
            "\r\n/BitsPerComponent 8\r\n/ColorSpace /DeviceRGB\r\n/Length ";
    StreamObject(head, "\r\n>>\r\nstream\r\n", packed);
  } else {
    head += size + "\r\n/BitsPerComponent 8\r\n/ColorSpace /DeviceRGB\r\n/Length ";
    StreamObject(head, "\r\n>>\r\nstream\r\n", samples);
  }
}

void DocumentWriter::GroupsObject() {
  std::vector<int32_t> list;
  work_.BuildGroupList(&list);
  if (list.empty()) return;
  std::string text = "%OV Begin Groups ";
  AppendInt(text, int64_t(list.size()));
  for (int32_t v : list) {
    text += "\r\n%OV ";
    AppendInt(text, v);
  }
  text += "\r\n%OV End Groups";
  text += '\0';
  const int64_t object = int64_t(offsets_.size()) + 1;
  std::string head = "%OVGroups\r\n";
  AppendInt(head, object);
  std::string packed;
  if (Compress(text, false, &packed)) {
    head += " 0 obj\r\n<< /Length ";
    StreamObject(head, "\r\n/Filter [/FlateDecode ]>>\r\nstream\r\n", packed);
  } else {
    // The record as an unfiltered stream, which the reader takes as well.
    text.pop_back();
    head += " 0 obj\r\n<< /Length ";
    StreamObject(head, "\r\n>>\r\nstream\r\n", text + "\r\n");
  }
}

void DocumentWriter::CrossReference() {
  const uint64_t xref = out_.count();
  if (xref > kMaxOffset) ok_ = false;
  std::string s = "xref\r\n0 ";
  AppendInt(s, int64_t(offsets_.size()) + 1);
  s += "\r\n0000000000 65535 f\r\n";
  for (uint64_t offset : offsets_) {
    AppendOffset10(s, offset);
    s += " 00000 n\r\n";
  }
  s += "trailer\r\n<< /Size ";
  AppendInt(s, int64_t(offsets_.size()) + 1);
  s += "\r\n/Root 1 0 R\r\n>>\r\nstartxref\r\n";
  AppendInt(s, int64_t(xref));
  s += "\r\n%%EOF\r\n";
  ok_ = ok_ && out_.Write(s);
}

bool DocumentWriter::Write() {
  work_.CopyFrom(model_);
  const int pages = work_.PageCount();
  fonts_ = CollectFonts(model_, &fontOf_);
  tree_ = PageTreeFor(pages);
  ConvertToPoints(work_);

  pageShapes_.assign(size_t(pages), {});
  imageObject_.assign(size_t(work_.Count()), 0);
  int64_t nextImage = tree_.ContentObject(pages) + 3 * int64_t(fonts_.size());
  for (int i = 0; i < work_.Count(); ++i) {
    const Shape* shape = work_.GetShape(i);
    if (shape->image()) imageObject_[size_t(i)] = nextImage++;
    // Shapes of pages that do not exist are not part of the document.
    if (shape->pageIndex >= 0 && shape->pageIndex < pages) pageShapes_[size_t(shape->pageIndex)].push_back(i);
  }

  ok_ = out_.Write(kHeader);
  Object("1 0 obj\r\n<< /Type /Catalog\r\n/Outlines 2 0 R\r\n/Pages 3 0 R\r\n>>\r\nendobj\r\n");
  Object("2 0 obj\r\n<< /Type /Outlines\r\n/Count 0\r\n>>\r\nendobj\r\n");
  PageTreeObjects();
  for (int p = 0; p < pages && ok_; ++p) PageObject(p);
  for (int p = 0; p < pages && ok_; ++p) ContentObject(p);
  for (size_t f = 0; f < fonts_.size() && ok_; ++f) {
    std::string objects[3];
    FontObjects(fonts_[f], int(f), tree_.ContentObject(pages) + 3 * int64_t(f), objects);
    for (const std::string& o : objects) Object(o);
  }
  for (int i = 0; i < work_.Count() && ok_; ++i) {
    if (const ImageContent* image = work_.GetShape(i)->image()) ImageObject(*image, imageObject_[size_t(i)]);
  }
  if (ok_) GroupsObject();
  if (ok_) CrossReference();
  return ok_ && out_.Finish();
}

}  // namespace

bool WritePdf(const Drawing& drawing, ByteSink& out, const PdfWriteOptions& options) {
  DocumentWriter writer(drawing, out, options);
  return writer.Write();
}

bool SavePdf(const std::string& path, const Drawing& drawing, const PdfWriteOptions& options) {
  FileSink file;
  if (!file.Open(path)) return false;
  return WritePdf(drawing, file, options);
}

}  // namespace zel

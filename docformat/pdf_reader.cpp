// The document reader's walk over the file: recognition, cross-reference
// table, page tree, fonts, page contents and the group record.
#include "docformat/pdf_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "docformat/flate.h"
#include "docformat/page_tree.h"
#include "docformat/pdf_cursor.h"
#include "docformat/pdf_reader_p.h"
#include "docformat/pdf_text.h"
#include "docformat/pdf_units.h"

namespace zel {

namespace {

constexpr std::string_view kCreator = "%Created by Orvane Draw";
// How far searches for a keyword of an object run from its start.
constexpr int64_t kObjectWindow = 1000;
// Deflate expands at most 1032-fold; more output than that is no data of
// ours. Inflated text is capped absolutely as well.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kMaxInflatedText = uint64_t(1) << 30;
// Files are read whole; beyond this they are refused rather than exhaust
// memory.
constexpr uint64_t kMaxFileSize = uint64_t(4) << 30;

uint64_t InflateCap(int64_t length) {
  const uint64_t cap = uint64_t(length) * kMaxInflateRatio + 1024;
  return cap < kMaxInflatedText ? cap : kMaxInflatedText;
}

// A PDF name's #xx escapes, as the writer makes them.
std::string DecodeName(std::string_view name) {
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '#' && i + 2 < name.size() && hex(name[i + 1]) >= 0 && hex(name[i + 2]) >= 0) {
      out += char(hex(name[i + 1]) * 16 + hex(name[i + 2]));
      i += 2;
    } else {
      out += name[i];
    }
  }
  return out;
}

}  // namespace

bool DocumentReader::Damaged(std::u16string_view what) {
  std::u16string message = u"This document is damaged and cannot be opened: ";
  message += what;
  return drawing_.Fail(message);
}

uint64_t DocumentReader::ObjectEnd(size_t entry) const {
  return entry + 1 < offsets_.size() && offsets_[entry + 1] > offsets_[entry] ? offsets_[entry + 1]
                                                                            : bytes_.size();
}

bool DocumentReader::ReadCrossReference(std::vector<uint64_t>* all) {
  // The table's position follows "startxref" near the end of the file.
  const int64_t size = int64_t(bytes_.size());
  const size_t at = FindIn(bytes_, "startxref", size > 200 ? size - 200 : -1, -1);
  if (at == kNotFound) return false;
  size_t pos = at;
  std::string_view line;
  ReadLine(bytes_, &pos, &line);  // the keyword itself
  int64_t table = -1;
  while (ReadLine(bytes_, &pos, &line)) {
    if (Contains(line, "%%EOF")) break;
    std::string_view c = line;
    if (ParseInteger(&c, &table)) break;
  }
  if (table < 0 || table >= size) return false;

  pos = size_t(table);
  if (!ReadLine(bytes_, &pos, &line) || !Contains(line, "xref")) return false;
  while (ReadLine(bytes_, &pos, &line)) {
    if (Contains(line, "trailer")) return true;
    const size_t n = line.find(" 00000 n");
    if (n == std::string_view::npos) continue;
    std::string_view c = line.substr(0, n);
    int64_t offset = -1;
    // An entry that points outside the file is as good as no entry.
    if (!ParseInteger(&c, &offset) || offset < 0 || offset >= size) return false;
    all->push_back(uint64_t(offset));
  }
  return false;
}

StreamInfo DocumentReader::ReadStreamDictionary(uint64_t offset) const {
  StreamInfo info;
  size_t pos = size_t(offset);
  std::string_view line;
  auto numberAfter = [](std::string_view l, std::string_view key, int64_t* v) {
    const size_t k = l.find(key);
    if (k == std::string_view::npos) return;
    std::string_view rest = l.substr(k + key.size());
    if (rest.empty()) return;  // the line must run on past the keyword
    int64_t n;
    if (ParseInteger(&rest, &n)) *v = n;
  };
  // A dictionary of ours is a handful of lines.
  for (int lines = 0; lines < 64; ++lines) {
    const size_t lineStart = pos;
    if (!ReadLine(bytes_, &pos, &line)) break;
    if (StartsWith(line, "%OV") && !info.hasStream) {
      info.sawMarker = true;
      info.markerStart = lineStart;
      while (info.markerStart < bytes_.size() && bytes_[info.markerStart] != '%') ++info.markerStart;
      return info;
    }
    if (Contains(line, "/FlateDecode")) info.compressed = true;
    const size_t len = line.find("/Length");
    if (len != std::string_view::npos && line.size() - len >= 9) numberAfter(line, "/Length", &info.length);
    numberAfter(line, "/Width", &info.width);
    numberAfter(line, "/Height", &info.height);
    if (Contains(line, "stream")) {
      info.hasStream = true;
      // The data start after the line's end: CR LF as written.
      size_t data = pos;
      if (data < bytes_.size() && bytes_[data] == '\r') ++data;
      if (data < bytes_.size() && bytes_[data] == '\n') ++data;
      info.dataStart = data;
      return info;
    }
    if (line == "endobj") break;
  }
  return info;
}

void DocumentReader::ReadFonts() {
  const size_t pages = size_t(drawing_.PageCount());
  for (size_t entry = pages; entry < offsets_.size(); entry += 3) {
    const int64_t from = int64_t(offsets_[entry]);
    const int64_t to = std::min<int64_t>(from + kObjectWindow, int64_t(ObjectEnd(entry)) - 1);
    const size_t at = FindIn(bytes_, "/BaseFont", from - 1, to);
    if (at == kNotFound) return;
    size_t pos = at;
    std::string_view line;
    ReadLine(bytes_, &pos, &line);
    const size_t slash = line.find('/', std::string_view("/BaseFont").size());
    fontNames_.push_back(slash == std::string_view::npos ? std::string() : DecodeName(line.substr(slash + 1)));
  }
}

bool DocumentReader::ReadContent(int page) {
  const StreamInfo info = ReadStreamDictionary(offsets_[size_t(page)]);
  if (!info.hasStream) return Damaged(u"a page's content stream is missing.");
  if (!info.compressed) {
    ReadContentLines(bytes_.substr(info.dataStart), page);
    return true;
  }
  // An empty page of a compressed document has no data at all.
  if (info.length == 0) return true;
  if (info.length < 0 || uint64_t(info.length) > bytes_.size() - info.dataStart)
    return Damaged(u"a page's content runs past the end of the file.");
  std::string text;
  const InflateResult r =
      Inflate(bytes_.substr(info.dataStart, size_t(info.length)), InflateCap(info.length), &text);
  if (r != InflateResult::kOk) return Damaged(u"a page's content cannot be decompressed.");
  ReadContentLines(text, page);
  return true;
}

void DocumentReader::ReadGroups() {
  if (offsets_.empty()) return;
  const int64_t last = int64_t(offsets_.back());
  const size_t at = FindIn(bytes_, "%OVGroups", last - 1, last + 20);
  if (at == kNotFound) return;
  // The record's dictionary (or, uncompressed, its text) follows the marker line.
  const size_t after = std::min(bytes_.size(), at + 11);
  const StreamInfo info = ReadStreamDictionary(after);
  std::string inflated;
  std::string_view text;
  if (info.sawMarker) {
    text = bytes_.substr(info.markerStart);
  } else if (info.hasStream && info.compressed) {
    if (info.length <= 0 || uint64_t(info.length) > bytes_.size() - info.dataStart) return;
    if (Inflate(bytes_.substr(info.dataStart, size_t(info.length)), InflateCap(info.length), &inflated) !=
        InflateResult::kOk)
      return;
    text = inflated;
  } else if (info.hasStream) {
    text = bytes_.substr(info.dataStart);
  } else {
    return;
  }

  std::vector<int32_t> list;
  bool begun = false;
  size_t pos = 0;
  std::string_view line;
  while (ReadLine(text, &pos, &line)) {
    if (line == "endobj" || line == "%OV End Groups" || line == "endstream") break;
    if (line.size() < 3) continue;
    if (!begun) {
      begun = StartsWith(line, "%OV Begin Groups");
      continue;
    }
    if (!StartsWith(line, "%OV")) continue;
    std::string_view c = line.substr(3);
    int64_t v;
    if (ParseInteger(&c, &v) && v >= INT32_MIN && v <= INT32_MAX) list.push_back(int32_t(v));
  }
  // A list cut short applies as far as it goes.
  (void)drawing_.ApplyGroupList(list);
}

bool DocumentReader::Read() {
  drawing_.RemoveAll();
  drawing_.SetPageCount(1);
  if (FindIn(bytes_, kCreator, 0, 100) == kNotFound) return drawing_.Fail(kNotOurDocument);

  std::vector<uint64_t> all;
  if (!ReadCrossReference(&all)) return Damaged(u"its cross-reference table is missing or broken.");
  if (all.size() < 3) return Damaged(u"its page tree is missing.");

  // The page count is the root Pages node's /Count.
  const int64_t root = int64_t(all[2]);
  const int64_t next = all.size() > 3 && all[3] > all[2] ? int64_t(all[3]) : int64_t(bytes_.size());
  const int64_t rootEnd = std::min<int64_t>(root + kObjectWindow, next - 1);
  const size_t count = FindIn(bytes_, "/Count", root - 1, rootEnd);
  if (FindIn(bytes_, "/Type /Pages", root - 1, rootEnd) == kNotFound || count == kNotFound)
    return Damaged(u"its page tree is missing.");
  std::string_view c = bytes_.substr(count + 6);
  int64_t pages = 0;
  if (!ParseInteger(&c, &pages) || pages < 0) return Damaged(u"its page count cannot be read.");
  if (pages == 0) return true;
  // Each page needs a Page object and a content stream: a count beyond the
  // entries is damage, not a reason to allocate.
  if (uint64_t(pages) > all.size()) return Damaged(u"it lists fewer objects than pages.");
  const PageTree tree = PageTreeFor(pages);
  treeObjects_ = tree.objects;
  if (uint64_t(tree.objects + 2 + pages) > all.size()) return Damaged(u"it lists fewer objects than pages.");
  drawing_.SetPageCount(int(pages));

  // Page size from the MediaBox of the last page.
  const int64_t lastPage = int64_t(all[size_t(tree.objects + 1)]);
  const size_t box = FindIn(bytes_, "/MediaBox [0 0 ", lastPage - 1, lastPage + kObjectWindow);
  if (box != kNotFound) {
    std::string_view b = bytes_.substr(box + 15);
    double w, h;
    if (ParseNumber(&b, &w) && ParseNumber(&b, &h) && w > 0 && h > 0) {
      const float mw = float(w * kPointsToModel), mh = float(h * kPointsToModel);
      if (std::isfinite(mw) && std::isfinite(mh)) drawing_.SetPageSize(mw, mh);
    }
  }

  offsets_.assign(all.begin() + (tree.objects + 2), all.end());
  ReadFonts();
  bool ok = true;
  for (int p = 0; p < pages && ok; ++p) ok = ReadContent(p);
  if (ok) ReadGroups();
  ConvertFromPoints(drawing_);
  return ok;
}

bool ReadPdf(std::string_view bytes, Drawing& drawing) {
  drawing.SetLastError(u"");
  if (bytes.empty()) {
    drawing.RemoveAll();
    return false;
  }
  DocumentReader reader(bytes, drawing);
  return reader.Read();
}

bool LoadPdf(const std::string& path, Drawing& drawing) {
  drawing.RemoveAll();
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return false;
  std::string bytes;
  char buffer[1 << 16];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    if (bytes.size() + n > kMaxFileSize) return drawing.Fail(u"This document is too large to be opened.");
    bytes.append(buffer, n);
  }
  if (std::ferror(file.get())) return false;
  return ReadPdf(bytes, drawing);
}

}  // namespace zel

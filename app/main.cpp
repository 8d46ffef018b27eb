// zel: the editor, or a headless converter when given a command-line verb.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "interchange/file_dispatch.h"
#include "interchange/picture/bitmap_export.h"
#include "interchange/picture/picture_import.h"
#include "model/drawing.h"
#include "platform/utf16.h"
#include "shell/run_editor.h"

namespace {

const char kUsage[] =
    "Usage: zel [FILE]\n"
    "       zel --export OUT [--page N] [--size PX] [--antialias] IN\n"
    "       zel --info IN\n"
    "       zel --help | --version\n"
    "\n"
    "Without a verb zel opens the editor on FILE or on a new drawing.\n"
    "  --export OUT IN   convert IN to OUT, each format chosen by its extension\n"
    "  --page N          the page to export (1-based, default 1)\n"
    "  --size PX         longest side of a picture written or read, in pixels\n"
    "  --antialias       smooth an exported picture\n"
    "  --info IN         print the pages and shapes of IN as one JSON object\n"
    "  --help            show this text\n"
    "  --version         show the program version\n";

int Fail(std::string_view message) {
  std::fprintf(stderr, "%.*s\n", int(message.size()), message.data());
  return 1;
}

int FailWith(const zel::Drawing& drawing) { return Fail(zel::ToUtf8(drawing.LastError())); }

bool HasExtension(std::string_view path, std::initializer_list<std::string_view> extensions) {
  for (std::string_view ext : extensions) {
    if (path.size() < ext.size()) continue;
    std::string tail(path.substr(path.size() - ext.size()));
    for (char& c : tail) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (tail == ext) return true;
  }
  return false;
}

bool IsPicture(std::string_view path) {
  return HasExtension(path, {".bmp", ".jpg", ".jpeg", ".gif", ".png", ".2bp"});
}

// --- Pictures -------------------------------------------------------------------
// A picture read becomes a drawing holding one image shape; a picture written
// is the page as the bitmap exporter renders it. --size sets the longer side
// of either (otherwise a written picture is the content at screen size within
// 640 pixels, a read one at most 220), --antialias smooths a written one.

struct PictureOptions {
  int size = 0;
  bool antialias = false;
};

bool ReadPicture(zel::Drawing& drawing, const std::string& in, const PictureOptions& options) {
  return zel::ReadPictureDrawing(drawing, in, options.size > 0 ? options.size : zel::kImportedPictureLimit);
}

bool WritePicture(zel::Drawing& drawing, const std::string& out, int page, const PictureOptions& options) {
  if (options.size > 0) {
    const zel::PixelSize size = zel::SizeForLongestSide(drawing.PageBounds(page), options.size);
    return zel::ExportBitmap(drawing, out, page, size.width, size.height, true, options.antialias);
  }
  return zel::ExportBitmap(drawing, out, page, zel::kDefaultImageResolution, zel::kDefaultImageResolution, false,
                           options.antialias);
}

// --- JSON ---------------------------------------------------------------------

void JsonString(std::string& out, std::string_view utf8) {
  out += '"';
  for (char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (b < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", b);
      out += buf;
    } else {
      out += c;
    }
  }
  out += '"';
}

void JsonNumber(std::string& out, float v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  // JSON has no infinities or NaN.
  if (r.ec != std::errc() || v != v || v - v != 0.0f) out += "null";
  else out.append(buf, r.ptr);
}

void JsonInt(std::string& out, long long v) { out += std::to_string(v); }

void ShapeJson(std::string& out, int index, const zel::Shape& shape) {
  out += "{\"index\":";
  JsonInt(out, index);
  out += ",\"kind\":";
  const zel::PathContent* path = shape.path();
  const zel::TextContent* text = shape.text();
  const zel::ImageContent* image = shape.image();
  JsonString(out, path ? "path" : text ? "text" : image ? "image" : "placeholder");
  out += ",\"bounds\":{\"xmin\":";
  JsonNumber(out, shape.bounds.xmin);
  out += ",\"xmax\":";
  JsonNumber(out, shape.bounds.xmax);
  out += ",\"ymin\":";
  JsonNumber(out, shape.bounds.ymin);
  out += ",\"ymax\":";
  JsonNumber(out, shape.bounds.ymax);
  out += '}';
  if (path) {
    size_t nodes = 0;
    for (const zel::SubPath& sub : path->subPaths) nodes += sub.size();
    out += ",\"contours\":";
    JsonInt(out, (long long)path->subPaths.size());
    out += ",\"nodes\":";
    JsonInt(out, (long long)nodes);
  }
  if (text) {
    out += ",\"text\":";
    JsonString(out, zel::ToUtf8(text->text));
    out += ",\"textType\":";
    JsonString(out, text->paragraph() ? "paragraph" : "artistic");
    out += ",\"font\":";
    JsonString(out, zel::ToUtf8(text->faceName));
  }
  if (image) {
    out += ",\"pixels\":{\"width\":";
    JsonInt(out, image->dib.header.width);
    out += ",\"height\":";
    JsonInt(out, image->dib.header.height < 0 ? -(long long)image->dib.header.height : image->dib.header.height);
    out += '}';
  }
  out += ",\"group\":";
  JsonInt(out, shape.groupId);
  out += '}';
}

std::string DrawingJson(const zel::Drawing& drawing) {
  std::string out = "{\"pageCount\":";
  JsonInt(out, drawing.PageCount());
  out += ",\"pageSize\":{\"width\":";
  JsonNumber(out, drawing.GetPageSize().width);
  out += ",\"height\":";
  JsonNumber(out, drawing.GetPageSize().height);
  out += "},\"units\":\"mm/10\",\"pages\":[";
  for (int p = 0; p < drawing.PageCount(); ++p) {
    if (p) out += ',';
    out += "{\"shapes\":[";
    bool first = true;
    for (int i = 0; i < drawing.Count(); ++i) {
      const zel::Shape* shape = drawing.GetShape(i);
      if (!shape || shape->pageIndex != p) continue;
      if (!first) out += ',';
      first = false;
      ShapeJson(out, i, *shape);
    }
    out += "]}";
  }
  out += "]}\n";
  return out;
}

// --- Verbs ----------------------------------------------------------------------

int Info(int argc, char** argv) {
  if (argc != 3) return Fail("zel: --info takes one file: zel --info IN");
  const std::string in = argv[2];
  zel::Drawing drawing;
  if (!(IsPicture(in) ? ReadPicture(drawing, in, {}) : zel::ImportFile(drawing, in))) return FailWith(drawing);
  const std::string json = DrawingJson(drawing);
  std::fwrite(json.data(), 1, json.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int Export(int argc, char** argv) {
  if (argc < 4) return Fail("zel: usage: zel --export OUT [--page N] IN");
  const std::string out = argv[2];
  std::string in;
  int page = 1;
  PictureOptions picture;
  for (int i = 3; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--page") {
      if (i + 1 >= argc) return Fail("zel: --page needs a page number");
      const std::string_view n = argv[++i];
      const auto r = std::from_chars(n.data(), n.data() + n.size(), page);
      if (r.ec != std::errc() || r.ptr != n.data() + n.size() || page < 1)
        return Fail("zel: --page needs a page number of 1 or more");
    } else if (arg == "--size") {
      if (i + 1 >= argc) return Fail("zel: --size needs a number of pixels");
      const std::string_view n = argv[++i];
      const auto r = std::from_chars(n.data(), n.data() + n.size(), picture.size);
      if (r.ec != std::errc() || r.ptr != n.data() + n.size() || picture.size < 1)
        return Fail("zel: --size needs a number of pixels of 1 or more");
    } else if (arg == "--antialias") {
      picture.antialias = true;
    } else if (!in.empty() || (arg.size() > 1 && arg[0] == '-' && arg[1] == '-')) {
      return Fail(std::string("zel: unexpected argument ") + std::string(arg));
    } else {
      in = arg;
    }
  }
  if (in.empty()) return Fail("zel: --export needs an input file: zel --export OUT IN");
  zel::Drawing drawing;
  if (!(IsPicture(in) ? ReadPicture(drawing, in, picture) : zel::ImportFile(drawing, in))) return FailWith(drawing);
  if (IsPicture(out)) return WritePicture(drawing, out, page - 1, picture) ? 0 : FailWith(drawing);
  const auto notice = [](std::u16string_view message) { Fail(zel::ToUtf8(message)); };
  if (!zel::ExportFile(drawing, out, page - 1, -1, -1, notice)) return FailWith(drawing);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("zel %s\n", ZEL_VERSION);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--info") == 0) return Info(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "--export") == 0) return Export(argc, argv);
  if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0) {
    std::fprintf(stderr, "zel: unknown option %s\n%s", argv[1], kUsage);
    return 1;
  }
  return zel::RunEditor(argc, argv);
}

// Writes the seed files of the document reader's fuzz target: small
// documents of the program's own writer, in both stream modes.
//
//   make_pdf_seeds DIR
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "docformat/pdf_writer.h"
#include "model/drawing.h"

namespace {

using namespace zel;

std::unique_ptr<Shape> Path(bool closed, int brush) {
  auto s = std::make_unique<Shape>(KindPath);
  SubPath sub;
  const PointF pts[3] = {{-100, -100}, {100, -50}, {0, 120}};
  for (PointF p : pts) sub.push_back(PathNode{p, p, p, 0});
  sub[1].out = {150, 0};
  sub[2].in = {50, 150};
  sub[1].flags = kNodeCusp;
  if (closed) sub.push_back(sub.front());
  s->path()->subPaths.push_back(sub);
  s->path()->brushStyle = brush;
  s->path()->lineWidth = kLineBold;
  s->fillColor = MakeColor(200, 100, 0);
  s->UpdateBounds();
  return s;
}

std::unique_ptr<Shape> Text(int type, uint32_t style, float angle, int alignment) {
  auto s = std::make_unique<Shape>(KindText);
  TextContent* t = s->text();
  t->text = type == kTextParagraph ? u"Wrapped words (in) a box\r\nand more words past its end" : u"Ab (c)\r\nd";
  t->faceName = u"Liberation Serif";
  t->styleBits = style;
  t->angle = angle;
  t->alignment = alignment;
  t->textType = type;
  t->anchor = {-200, -200};
  t->corner = {0, -150};
  s->UpdateBounds();
  return s;
}

std::unique_ptr<Shape> Image() {
  auto s = std::make_unique<Shape>(KindImage);
  DibImage& dib = s->image()->dib;
  (void)dib.Create24(3, 2);
  for (size_t i = 0; i < dib.bits.size(); ++i) dib.bits[i] = uint8_t(i * 40);
  s->image()->placement = {-50, 50, -20, 30};
  s->UpdateBounds();
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pdf_seeds DIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  const std::pair<const char*, std::function<void(Drawing&)>> seeds[] = {
      {"empty", [](Drawing&) {}},
      {"path", [](Drawing& d) { d.Add(Path(true, kBrushSolid)); }},
      {"paths", [](Drawing& d) {
         d.Add(Path(false, kBrushNull));
         d.Add(Path(true, kBrushDotted));
       }},
      {"text", [](Drawing& d) { d.Add(Text(kTextArtistic, kTextBold | kTextUnderline, 30, kAlignCenter)); }},
      {"paragraph", [](Drawing& d) { d.Add(Text(kTextParagraph, kTextItalic, 0, kAlignRight)); }},
      {"image", [](Drawing& d) { d.Add(Image()); }},
      {"groups-pages", [](Drawing& d) {
         d.SetPageCount(3);
         for (int p = 0; p < 3; ++p) {
           auto a = Path(true, kBrushSolid), b = Text(kTextArtistic, 0, 0, kAlignLeft);
           a->pageIndex = b->pageIndex = p;
           a->groupId = b->groupId = p + 1;
           d.Add(std::move(a));
           d.Add(std::move(b));
         }
       }},
  };
  for (const auto& [name, build] : seeds) {
    Drawing d;
    build(d);
    for (bool deterministic : {false, true}) {
      PdfWriteOptions options;
      options.deterministic = deterministic;
      const std::string file = (dir / (std::string(name) + (deterministic ? "-stored.pdf" : ".pdf"))).string();
      if (!SavePdf(file, d, options)) {
        std::fprintf(stderr, "%s: cannot be written\n", file.c_str());
        return 1;
      }
    }
  }
  return 0;
}

// Font objects of the document writer. Fonts are not embedded: a viewer
// finds them by name and spaces the characters by the Widths written here,
// measured with the face the editor draws with.
#include <algorithm>
#include <cmath>

#include "docformat/font_names.h"
#include "docformat/pdf_text.h"
#include "docformat/pdf_writer_p.h"
#include "model/text_layout.h"
#include "platform/font.h"
#include "platform/font_face.h"

namespace zel {

namespace {

constexpr int kFirstChar = 32;
constexpr int kLastChar = 255;

std::string LowerAscii(std::string_view s) {
  std::string l(s);
  for (char& c : l) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return l;
}

std::string FontNameOf(const TextContent& text) {
  std::string name;
  AppendLatin1(name, FaceToPostScript(text.faceName));
  const bool bold = (text.styleBits & kTextBold) != 0;
  const bool italic = (text.styleBits & kTextItalic) != 0;
  if (bold && italic) name += ",BoldItalic";
  else if (bold) name += ",Bold";
  else if (italic) name += ",Italic";
  return name;
}

// The text's font at a character height of 1000 units.
std::shared_ptr<Font> MetricFont(const TextContent& text) {
  FontRequest r = TextFontRequest(text);
  r.height = -1000;
  r.escapement = 0;
  r.underline = false;
  return Font::Open(r);
}

}  // namespace

void AppendNameChars(std::string& s, std::string_view name) {
  static const char kHex[] = "0123456789ABCDEF";
  for (char ch : name) {
    const auto b = static_cast<unsigned char>(ch);
    const bool delimiter = std::string_view("()<>[]{}/%#").find(ch) != std::string_view::npos;
    if (b < 0x21 || b > 0x7E || delimiter) {
      s += '#';
      s += kHex[b >> 4];
      s += kHex[b & 15];
    } else {
      s += ch;
    }
  }
}

std::vector<PdfFont> CollectFonts(const Drawing& model, std::vector<int>* fontOfShape) {
  std::vector<PdfFont> fonts;
  std::vector<std::string> keys;
  fontOfShape->assign(size_t(model.Count()), -1);
  for (int i = 0; i < model.Count(); ++i) {
    const Shape* shape = model.GetShape(i);
    const TextContent* text = shape ? shape->text() : nullptr;
    if (!text) continue;
    std::string name = FontNameOf(*text);
    const std::string key = LowerAscii(name);
    auto it = std::find(keys.begin(), keys.end(), key);
    if (it == keys.end()) {
      keys.push_back(key);
      fonts.push_back({std::move(name), text});
      it = keys.end() - 1;
    }
    (*fontOfShape)[size_t(i)] = int(it - keys.begin());
  }
  return fonts;
}

void FontObjects(const PdfFont& pdfFont, int index, int64_t object, std::string out[3]) {
  const std::shared_ptr<Font> font = MetricFont(*pdfFont.first);
  const bool italic = (pdfFont.first->styleBits & kTextItalic) != 0;

  std::string& f = out[0];
  AppendInt(f, object);
  f += " 0 obj\r\n<< /Type /Font\r\n/Subtype /TrueType\r\n/Name /F";
  AppendInt(f, index + kFontResourceBase);
  f += "\r\n/BaseFont /";
  AppendNameChars(f, pdfFont.name);
  f += "\r\n/FirstChar 32\r\n/LastChar 255\r\n/Widths ";
  AppendInt(f, object + 1);
  f += " 0 R\r\n/Encoding /WinAnsiEncoding\r\n/FontDescriptor ";
  AppendInt(f, object + 2);
  f += " 0 R\r\n>>\r\nendobj\r\n";

  std::string& w = out[1];
  AppendInt(w, object + 1);
  w += " 0 obj\r\n[";
  for (int ch = kFirstChar; ch <= kLastChar; ++ch) {
    const char16_t unit = char16_t(ch);
    AppendInt(w, font ? font->Measure(std::u16string_view(&unit, 1)).cx : 0);
    w += ' ';
    if ((ch - kFirstChar + 1) % 19 == 0) w += "\r\n";
  }
  w += "]\r\nendobj\r\n";

  int ascent = 0, descent = 0, leading = 0, maxWidth = 0, capital = 0;
  if (font) {
    ascent = font->ascent();
    descent = font->descent();
    leading = font->height() - font->emHeight();
    capital = font->Measure(u"T").cy;
    const std::shared_ptr<FontFace> face = font->face();
    auto lock = face->Lock();
    maxWidth = RoundToInt(double(face->ftFace()->max_advance_width) * font->scale());
  }
  std::string& d = out[2];
  AppendInt(d, object + 2);
  d += " 0 obj\r\n<<\r\n/Type /FontDescriptor\r\n/FontName /";
  AppendNameChars(d, pdfFont.name);
  d += "\r\n/Ascent ";
  AppendInt(d, ascent - descent);
  d += "\r\n/CapHeight ";
  AppendInt(d, capital - leading - descent);
  d += "\r\n/Descent ";
  AppendInt(d, -descent);
  d += "\r\n/Flags ";
  AppendInt(d, italic ? 96 : 32);
  d += "\r\n/FontBBox [-550 ";
  AppendInt(d, RoundToInt(-1.5 * descent));
  d += ' ';
  AppendInt(d, maxWidth - 550);
  d += ' ';
  AppendInt(d, RoundToInt(0.5 * descent) + ascent);
  d += "]\r\n/ItalicAngle -12\r\n/StemV 0\r\n>>\r\nendobj\r\n";
}

}  // namespace zel

// Expected pictures for the rendering tests, checked in as small text files
// under tests/data/render/: a colour legend, then one line of codes per pixel
// row from the top, where "c{n}" repeats code c n times. Set
// ZEL_UPDATE_GOLDEN=1 to rewrite them on purpose.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "model/dib.h"
#include "render/surface.h"

namespace zel::testing {

// Codes for colours in order of first appearance; two characters each when
// a picture has more colours than there are codes.
inline const std::string kGoldenCodes =
    ".#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!$%&*+-/:;<=>?@^_~|()[]{},'";

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<ColorRef> pixels;  // rows from the top
  ColorRef at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

inline Picture PictureOf(DibImage& dib) {
  Surface s(&dib);
  Picture p;
  p.width = s.width();
  p.height = s.height();
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) p.pixels.push_back(s.GetPixel(x, y));
  return p;
}

inline std::string EncodeGolden(const Picture& p) {
  std::vector<ColorRef> order;
  std::map<ColorRef, size_t> index;
  for (ColorRef c : p.pixels) {
    if (index.emplace(c, order.size()).second) order.push_back(c);
  }
  const size_t base = kGoldenCodes.size();
  const size_t width = order.size() <= base ? 1 : 2;
  auto code = [&](size_t i) {
    return width == 1 ? std::string(1, kGoldenCodes[i]) : std::string{kGoldenCodes[i / base], kGoldenCodes[i % base]};
  };
  std::ostringstream out;
  out << "zel-golden 1\nsize " << p.width << " " << p.height << "\ncolors " << order.size() << "\n";
  char hex[8];
  for (size_t i = 0; i < order.size(); ++i) {
    ColorRef c = order[i];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    out << code(i) << " " << hex << "\n";
  }
  out << "pixels\n";
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width;) {
      int run = 1;
      while (x + run < p.width && p.at(x + run, y) == p.at(x, y)) ++run;
      out << code(index[p.at(x, y)]);
      if (run > 3) {
        out << "{" << run << "}";
      } else {
        for (int i = 1; i < run; ++i) out << code(index[p.at(x, y)]);
      }
      x += run;
    }
    out << "\n";
  }
  return out.str();
}

inline bool DecodeGolden(const std::string& text, Picture* p) {
  std::istringstream in(text);
  std::string word;
  size_t n = 0;
  if (!(in >> word) || word != "zel-golden" || !(in >> word)) return false;
  if (!(in >> word >> p->width >> p->height) || word != "size") return false;
  if (!(in >> word >> n) || word != "colors") return false;
  std::map<std::string, ColorRef> legend;
  for (size_t i = 0; i < n; ++i) {
    std::string code, hex;
    if (!(in >> code >> hex)) return false;
    unsigned long rgb = std::strtoul(hex.c_str(), nullptr, 16);
    legend[code] = MakeColor(int(rgb >> 16), int(rgb >> 8), int(rgb));
  }
  if (!(in >> word) || word != "pixels") return false;
  const size_t width = n <= kGoldenCodes.size() ? 1 : 2;
  p->pixels.clear();
  for (int y = 0; y < p->height; ++y) {
    std::string row;
    if (!(in >> row)) return false;
    size_t count = 0;
    for (size_t i = 0; i < row.size();) {
      auto it = legend.find(row.substr(i, width));
      if (it == legend.end()) return false;
      i += width;
      size_t run = 1;
      if (i < row.size() && row[i] == '{') {
        size_t close = row.find('}', i);
        if (close == std::string::npos) return false;
        run = std::strtoul(row.c_str() + i + 1, nullptr, 10);
        i = close + 1;
      }
      count += run;
      if (count > size_t(p->width)) return false;
      p->pixels.insert(p->pixels.end(), run, it->second);
    }
    if (count != size_t(p->width)) return false;
  }
  return true;
}

inline std::string GoldenPath(const std::string& name) {
  return std::string(ZEL_TEST_DATA) + "/render/" + name + ".txt";
}

// Compares the bitmap with the golden picture `name`. A pixel matches when no
// channel differs by more than tolerance; the test fails on the first
// mismatch beyond allowedMismatches and reports where it is.
inline void ExpectGolden(DibImage& dib, const std::string& name, int tolerance = 0, int allowedMismatches = 0) {
  Picture actual = PictureOf(dib);
  const std::string path = GoldenPath(name);
  const char* update = std::getenv("ZEL_UPDATE_GOLDEN");
  if (update && *update && std::string(update) != "0") {
    std::ofstream(path, std::ios::binary) << EncodeGolden(actual);
    std::printf("rewrote %s\n", path.c_str());
    return;
  }
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << "missing golden picture " << path << " (ZEL_UPDATE_GOLDEN=1 writes it)";
  std::stringstream text;
  text << file.rdbuf();
  Picture expected;
  ASSERT_TRUE(DecodeGolden(text.str(), &expected)) << "unreadable golden picture " << path;
  ASSERT_EQ(expected.width, actual.width) << name;
  ASSERT_EQ(expected.height, actual.height) << name;
  int mismatches = 0;
  std::string first;
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      ColorRef e = expected.at(x, y), a = actual.at(x, y);
      int d = std::max({std::abs(RedOf(e) - RedOf(a)), std::abs(GreenOf(e) - GreenOf(a)),
                        std::abs(BlueOf(e) - BlueOf(a))});
      if (d <= tolerance) continue;
      if (mismatches++ == 0) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "first at (%d, %d): expected %02X%02X%02X, got %02X%02X%02X", x, y,
                      RedOf(e), GreenOf(e), BlueOf(e), RedOf(a), GreenOf(a), BlueOf(a));
        first = buf;
      }
    }
  }
  EXPECT_LE(mismatches, allowedMismatches)
      << name << ": " << mismatches << " pixels differ by more than " << tolerance << "; " << first
      << "\nactual picture:\n"
      << EncodeGolden(actual);
}

// A white bitmap of the given size.
inline DibImage WhiteBitmap(int w, int h) {
  DibImage dib;
  EXPECT_TRUE(dib.Create24(w, h));
  std::fill(dib.bits.begin(), dib.bits.end(), uint8_t(0xFF));
  return dib;
}

}  // namespace zel::testing

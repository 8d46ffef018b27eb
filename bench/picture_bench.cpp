// Bitmap export of a page at 4000 x 3000 to a smoothed JPEG, with its
// stages, and the import of 24-megapixel JPEG and PNG files (made in the
// set-up with our own writers).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "interchange/picture/bitmap_export.h"
#include "interchange/picture/jpeg_writer.h"
#include "interchange/picture/picture_decoder.h"
#include "interchange/picture/png_writer.h"
#include "model/drawing.h"
#include "model/shape.h"
#include "render/page_bitmap.h"
#include "render/smooth.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPageW = 4000, kPageH = 3000;
constexpr int kPhotoW = 6000, kPhotoH = 4000;  // 24 megapixels

// Files of the set-up, removed when the program ends.
std::string TempPath(const std::string& name) {
  static std::vector<std::string>* made = [] {
    auto* list = new std::vector<std::string>;
    std::atexit([] {
      std::error_code ec;
      for (const std::string& p : *made) fs::remove(p, ec);
    });
    return list;
  }();
  made->push_back((fs::temp_directory_path() / ("zel-bench-" + name)).string());
  return made->back();
}

// A page like a plan: 400 filled and outlined rectangles and ellipses.
zel::Drawing& Page() {
  static zel::Drawing* drawing = [] {
    auto* d = new zel::Drawing;
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> pos(-500.0f, 500.0f), size(10.0f, 200.0f);
    std::uniform_int_distribution<uint32_t> color(0, 0xFFFFFF);
    for (int i = 0; i < 400; ++i) {
      const float x = pos(rng), y = pos(rng) * 0.7f, w = size(rng), h = size(rng);
      auto s = (i % 2) ? zel::MakeEllipse({x, x + w, y, y + h}) : zel::MakeRectangle({x, x + w, y, y + h});
      s->fillColor = color(rng);
      s->path()->penColor = color(rng);
      s->path()->lineWidth = (i % 4) * 3;
      if (i % 5 == 0) s->path()->brushStyle = zel::kBrushNull;
      s->UpdateBounds();
      d->Add(std::move(s));
    }
    return d;
  }();
  return *drawing;
}

// A photograph stand-in: smooth gradients with grain, as cameras give.
const zel::DibImage& Photo() {
  static zel::DibImage* photo = [] {
    auto* dib = new zel::DibImage;
    if (!dib->Create24(kPhotoW, kPhotoH)) std::abort();
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> grain(-6, 6);
    for (int y = 0; y < kPhotoH; ++y) {
      uint8_t* row = dib->bits.data() + dib->RowOffsetFromTop(y);
      for (int x = 0; x < kPhotoW; ++x) {
        const int n = grain(rng);
        row[3 * x] = uint8_t(std::clamp(x * 255 / kPhotoW + n, 0, 255));
        row[3 * x + 1] = uint8_t(std::clamp(y * 255 / kPhotoH + n, 0, 255));
        row[3 * x + 2] = uint8_t(std::clamp(((x + y) / 40) % 256 + n, 0, 255));
      }
    }
    return dib;
  }();
  return *photo;
}

void BM_ExportPageJpegSmoothed(benchmark::State& state) {
  zel::Drawing& d = Page();
  const std::string path = TempPath("page.jpg");
  for (auto _ : state) {
    if (!zel::ExportBitmap(d, path, 0, kPageW, kPageH, true, true)) state.SkipWithError("export failed");
  }
  state.counters["bytes"] = double(fs::file_size(path));
  fs::remove(path);
}
BENCHMARK(BM_ExportPageJpegSmoothed)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RenderPage(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(zel::RenderPageToBitmap(Page(), kPageW, kPageH, false, 0));
}
BENCHMARK(BM_RenderPage)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Smooth(benchmark::State& state) {
  auto section = zel::RenderPageToBitmap(Page(), kPageW, kPageH, false, 0);
  for (auto _ : state) benchmark::DoNotOptimize(zel::Smooth(*section));
}
BENCHMARK(BM_Smooth)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_EncodeJpeg(benchmark::State& state) {
  auto section = zel::RenderPageToBitmap(Page(), kPageW, kPageH, false, 0);
  std::vector<uint8_t> out;
  for (auto _ : state) {
    if (!zel::EncodeJpeg(*section, zel::kJpegQuality, &out, nullptr)) state.SkipWithError("encode failed");
  }
}
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond)->Iterations(5);

void LoadFile(benchmark::State& state, const std::string& path) {
  state.counters["file_MB"] = double(fs::file_size(path)) / 1e6;
  for (auto _ : state) {
    zel::DibImage dib;
    if (!zel::LoadPictureFile(path, &dib, nullptr)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(dib.bits.data());
  }
  state.counters["Mpixel/s"] = benchmark::Counter(double(kPhotoW) * kPhotoH / 1e6 * double(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

void BM_Import24MegapixelJpeg(benchmark::State& state) {
  static const std::string path = [] {
    std::vector<uint8_t> bytes;
    if (!zel::EncodeJpeg(Photo(), 90, &bytes, nullptr)) std::abort();
    const std::string p = TempPath("photo.jpg");
    std::FILE* f = std::fopen(p.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return p;
  }();
  LoadFile(state, path);
}
BENCHMARK(BM_Import24MegapixelJpeg)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Import24MegapixelPng(benchmark::State& state) {
  static const std::string path = [] {
    std::vector<uint8_t> bytes;
    if (!zel::EncodePng(Photo(), &bytes, nullptr)) std::abort();
    const std::string p = TempPath("photo.png");
    std::FILE* f = std::fopen(p.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return p;
  }();
  LoadFile(state, path);
}
BENCHMARK(BM_Import24MegapixelPng)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

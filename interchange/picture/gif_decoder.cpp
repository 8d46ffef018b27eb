#include "interchange/picture/gif_decoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace zel {

namespace {

struct Source {
  std::span<const uint8_t> data;
  size_t pos = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* out, int length) {
  auto* s = static_cast<Source*>(gif->UserData);
  const size_t n = std::min(size_t(length < 0 ? 0 : length), s->data.size() - s->pos);
  std::memcpy(out, s->data.data() + s->pos, n);
  s->pos += n;
  return int(n);
}

std::string LibraryError(int code) {
  const char* text = GifErrorString(code);
  return text ? text : "giflib error " + std::to_string(code);
}

bool ReadFrame(GifFileType* gif, int transparent, DibImage* out, PictureError* error) {
  const GifImageDesc& desc = gif->Image;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!map || !map->Colors) return PictureFail(error, kPictureDamaged, "the frame has no colour table");
  if (desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0)
    return PictureFail(error, kPictureDamaged, "the first frame is empty");
  const int64_t right = int64_t(desc.Left) + desc.Width, bottom = int64_t(desc.Top) + desc.Height;
  const int64_t width = std::max<int64_t>(gif->SWidth, right), height = std::max<int64_t>(gif->SHeight, bottom);
  if (width > kMaxPictureSide || height > kMaxPictureSide)
    return PictureFail(error, kPictureTooLarge, "screen of " + std::to_string(width) + " x " + std::to_string(height));
  if (!out->Create24(int(width), int(height))) return PictureFail(error, kPictureOutOfMemory, "no room for the pixels");
  std::fill(out->bits.begin(), out->bits.end(), uint8_t(0xFF));

  std::vector<GifPixelType> line(size_t(desc.Width));
  const uint64_t stride = out->stride();
  auto putRow = [&](int y) {
    uint8_t* dst = out->bits.data() + stride * uint64_t(height - 1 - (desc.Top + y)) + 3 * size_t(desc.Left);
    for (int x = 0; x < desc.Width; ++x, dst += 3) {
      const int index = line[size_t(x)];
      if (index == transparent) continue;
      if (index >= map->ColorCount) {
        dst[0] = dst[1] = dst[2] = 0;  // past the table: black
        continue;
      }
      const GifColorType& c = map->Colors[index];
      dst[0] = c.Blue, dst[1] = c.Green, dst[2] = c.Red;
    }
  };
  auto readRow = [&](int y) {
    if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) return false;
    putRow(y);
    return true;
  };
  if (desc.Interlace) {
    static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (int y = kStart[pass]; y < desc.Height; y += kStep[pass])
        if (!readRow(y)) return PictureFail(error, kPictureDamaged, LibraryError(gif->Error));
    }
  } else {
    for (int y = 0; y < desc.Height; ++y)
      if (!readRow(y)) return PictureFail(error, kPictureDamaged, LibraryError(gif->Error));
  }
  return true;
}

bool ReadFirstFrame(GifFileType* gif, DibImage* out, PictureError* error) {
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return PictureFail(error, kPictureDamaged, LibraryError(gif->Error));
    switch (type) {
      case IMAGE_DESC_RECORD_TYPE:
        if (DGifGetImageDesc(gif) == GIF_ERROR) return PictureFail(error, kPictureDamaged, LibraryError(gif->Error));
        return ReadFrame(gif, transparent, out, error);
      case EXTENSION_RECORD_TYPE: {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
          return PictureFail(error, kPictureDamaged, LibraryError(gif->Error));
        if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
          GraphicsControlBlock gcb;
          if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
        }
        while (block) {
          if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return PictureFail(error, kPictureDamaged, LibraryError(gif->Error));
        }
        break;
      }
      case TERMINATE_RECORD_TYPE:
        return PictureFail(error, kPictureDamaged, "the file holds no picture");
      default:
        return PictureFail(error, kPictureDamaged, "unknown record");
    }
  }
}

}  // namespace

bool LooksLikeGif(std::span<const uint8_t> data) {
  return data.size() >= 6 && std::memcmp(data.data(), "GIF8", 4) == 0;
}

bool DecodeGif(std::span<const uint8_t> data, DibImage* out, PictureError* error) {
  Source source{data, 0};
  int code = 0;
  GifFileType* gif = DGifOpen(&source, ReadBytes, &code);
  if (!gif) return PictureFail(error, kPictureDamaged, LibraryError(code));
  const bool ok = ReadFirstFrame(gif, out, error);
  DGifCloseFile(gif, &code);
  return ok;
}

}  // namespace zel

#include "interchange/picture/picture_paths.h"

namespace zel {

namespace {

std::string LowerTail(std::string_view path, size_t n) {
  std::string tail(path.substr(path.size() >= n ? path.size() - n : 0));
  for (char& c : tail) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return tail;
}

}  // namespace

bool IsBitmapPath(std::string_view path) {
  if (path.size() < 4) return false;
  const std::string four = LowerTail(path, 4);
  return four == ".bmp" || four == ".jpg" || four == ".gif" || four == ".png" || four == ".2bp" ||
         LowerTail(path, 5) == ".jpeg";
}

BitmapOutput BitmapOutputOf(std::string_view path) {
  const std::string three = LowerTail(path, 3);
  if (three == "bmp") return BitmapOutput::kBmp;
  if (three == "jpg" || LowerTail(path, 4) == "jpeg") return BitmapOutput::kJpeg;
  if (three == "png") return BitmapOutput::kPng;
  return BitmapOutput::kNone;
}

std::string ReplaceExtension(std::string_view path, std::string_view ext) {
  // Only a dot in the file's own name counts: "a.d/picbmp" must not become
  // "a.bmp", another file in another folder.
  const size_t slash = path.rfind('/');
  size_t dot = path.rfind('.');
  if (dot != std::string_view::npos && slash != std::string_view::npos && dot < slash) dot = std::string_view::npos;
  std::string out(dot == std::string_view::npos ? path : path.substr(0, dot));
  out += '.';
  out += ext;
  return out;
}

}  // namespace zel

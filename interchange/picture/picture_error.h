// How a picture reader or writer reports failure: a fixed message for the
// user and a detail (what and where) for tests and debugging.
#pragma once

#include <string>
#include <string_view>

namespace zel {

inline constexpr int kMaxPictureSide = 10000;  // the loader's limit on either side

inline constexpr std::u16string_view kPictureNotRecognised =
    u"The file is not a picture the program can read (BMP, JPEG, GIF, PNG or 2BP).";
inline constexpr std::u16string_view kPictureDamaged = u"The picture file is damaged or incomplete.";
inline constexpr std::u16string_view kPictureTooLarge =
    u"The picture is too large: at most 10000 x 10000 pixels can be loaded.";
inline constexpr std::u16string_view kPictureUnsupported =
    u"The picture is stored in a way the program cannot read.";
inline constexpr std::u16string_view kPictureOutOfMemory = u"There is not enough memory to load the picture.";

struct PictureError {
  std::u16string message;
  std::string detail;
};

// Fills error (when given) and returns false, so that readers write
// `return PictureFail(error, kPictureDamaged, "row 12 runs past the data");`.
[[nodiscard]] inline bool PictureFail(PictureError* error, std::u16string_view message, std::string_view detail) {
  if (error) {
    error->message.assign(message);
    error->detail.assign(detail);
  }
  return false;
}

}  // namespace zel

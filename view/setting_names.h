// Names of the stored settings and the encodings of their values.
//
// Lengths are stored as integers in micrometres (hundredths of the model's
// tenth of a millimetre).
#pragma once

#include <cstdint>
#include <string_view>

namespace zel::setting {

inline constexpr std::string_view kPenColor = "PenColor";
inline constexpr std::string_view kBrushColor = "BrushColor";
inline constexpr std::string_view kTextColor = "TextColor";
inline constexpr std::string_view kTextType = "TextType";
inline constexpr std::string_view kTextHeight = "TextHeight";
inline constexpr std::string_view kShowGrid = "ShowGrid";
inline constexpr std::string_view kGridSpacing = "GridSpacing";
inline constexpr std::string_view kSnapSpacing = "SnapSpacing";
inline constexpr std::string_view kAntiAlias = "AntiAlias";
inline constexpr std::string_view kImageResolution = "ImageResolution";
inline constexpr std::string_view kShowScrollBars = "ShowScrollBars";
inline constexpr std::string_view kShowPage = "ShowPage";
inline constexpr std::string_view kPageWidth = "PageWidth";
inline constexpr std::string_view kPageHeight = "PageHeight";
// The measurement unit has always lived in the unnamed value.
inline constexpr std::string_view kMeasurementUnit = "";
inline constexpr std::string_view kColorModel = "ColorModel";
inline constexpr std::string_view kLastCategory = "LastCategory";
inline constexpr std::string_view kFtpServer = "FtpServer";
inline constexpr std::string_view kFtpFolder = "FtpFolder";
inline constexpr std::string_view kFtpUsername = "FtpUsername";
inline constexpr std::string_view kPassword = "Pwd";
inline constexpr std::string_view kFtpPort = "FtpPort";
inline constexpr std::string_view kDefaultTemplate = "DefaultTemplate";
inline constexpr std::string_view kLastTempFile = "LastTempFile";

// A stored micrometre count as mm/10: v x 0.01. The word is read as signed.
float FromMicrometres(uint32_t stored);
// mm/10 as a micrometre count: x x 100 rounded half away from zero, held
// within the 32-bit range (NaN stores 0).
uint32_t ToMicrometres(float tenths);

}  // namespace zel::setting

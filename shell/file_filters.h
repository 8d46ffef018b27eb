// The file dialogs' filters: display names and patterns separated by
// vertical bars, ended by two bars.
#pragma once

#include <string_view>

namespace zel {

inline constexpr std::string_view kOpenFilter =
    "All (PDF,AI,DXF,EMF,WMF,PLT)|*.ai;*.dxf;*.emf;*.wmf;*.pdf;*.plt|PDF Document (PDF)|*.pdf|"
    "Adobe Illustrator v10 (AI)|*.ai|AutoCAD 2002 (DXF)|*.dxf|Enhanced Metafile (EMF)|*.emf|"
    "Windows Metafile (WMF)|*.wmf|HPGL Plotter file (PLT)|*.plt||";

inline constexpr std::string_view kImportFilter =
    "All Vector Files|*.ai;*.dxf;*.emf;*.wmf;*.plt|All Bitmaps|*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.2bp|"
    "Adobe Illustrator v10 (AI)|*.ai|AutoCAD 2002 (DXF)|*.dxf|Enhanced Metafile (EMF)|*.emf|"
    "Windows Metafile (WMF)|*.wmf|HPGL Plotter file (PLT)|*.plt|BMP Bitmap|*.bmp|JPG Image|*.jpg;*.jpeg|"
    "GIF Bitmap|*.gif|PNG Bitmap|*.png|2BP Bitmap|*.2bp||";

inline constexpr std::string_view kSaveAsFilter =
    "PDF Document (PDF)|*.pdf|Adobe Illustrator v7 (AI)|*.ai|AutoCAD 2002 (DXF)|*.dxf|"
    "Enhanced Metafile (EMF)|*.emf|HPGL Plotter file (PLT)|*.plt|BMP Bitmap|*.bmp|JPG Image|*.jpg|"
    "Template (TPL)|*.tpl||";

inline constexpr std::string_view kBitmapFilter = "BMP Bitmap|*.bmp|JPG Image|*.jpg||";

}  // namespace zel

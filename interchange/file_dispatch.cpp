#include "interchange/file_dispatch.h"

#include "docformat/pdf_reader.h"
#include "docformat/pdf_writer.h"
#include "interchange/safe_save.h"

namespace zel {

namespace {

enum class Format { kNone, kEmf, kWmf, kDxf, kHpgl, kNative, kAi };

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// The format of a path by its last four characters (lower case), or, for
// Illustrator files, the last three of them. Paths shorter than four
// characters are handled by the callers.
Format FormatOf(const std::string& path, bool forExport) {
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = LowerAscii(c);
  if (ext == ".emf") return Format::kEmf;
  if (ext == ".wmf") return forExport ? Format::kNone : Format::kWmf;
  if (ext == ".dxf") return Format::kDxf;
  if (ext == ".plt") return Format::kHpgl;
  if (ext == ".pdf" || ext == ".tpl") return Format::kNative;
  if (ext.substr(1) == ".ai") return Format::kAi;
  return Format::kNone;
}

// Converters that are not part of this build yet say so plainly.
std::u16string_view NotAvailable(Format f, bool forExport) {
  switch (f) {
    case Format::kEmf:
    case Format::kWmf:
      return forExport ? u"Enhanced Metafile export is not available in this version."
                       : u"Metafile import is not available in this version.";
    case Format::kDxf:
      return forExport ? u"DXF export is not available in this version." : u"DXF import is not available in this version.";
    case Format::kHpgl:
      return forExport ? u"HPGL export is not available in this version." : u"HPGL import is not available in this version.";
    case Format::kAi:
      return forExport ? u"Adobe Illustrator export is not available in this version."
                       : u"Adobe Illustrator import is not available in this version.";
    default:
      return {};
  }
}

bool ConverterBuilt(Format f) { return f == Format::kNative; }

}  // namespace

bool ImportFile(Drawing& drawing, const std::string& path) {
  drawing.SetLastError(u"");
  if (path.size() < 4) return drawing.Fail(kFailedToOpen);
  bool ok = false;
  const Format format = FormatOf(path, false);
  switch (format) {
    case Format::kNative:
      ok = LoadPdf(path, drawing);
      break;
    case Format::kNone:
      break;
    default:
      drawing.SetLastError(NotAvailable(format, false));
      break;
  }
  drawing.RenumberGroups();
  if (!ok && drawing.LastError().empty()) drawing.SetLastError(kFailedToOpen);
  return ok;
}

bool ExportFile(Drawing& drawing, const std::string& path, int page, int /*maxWidth*/, int /*maxHeight*/,
                const NoticeHandler& notice) {
  drawing.SetLastError(u"");
  if (path.size() < 4) return drawing.Fail(kFailedToSave);
  drawing.RenumberGroups();
  const Format format = FormatOf(path, true);
  if (format == Format::kNone) return drawing.Fail(kFailedToOpen);
  if (!ConverterBuilt(format)) return drawing.Fail(NotAvailable(format, true));
  if (format != Format::kNative && drawing.PageCount() > 1 && notice) notice(kSinglePageNotice);
  if (page >= drawing.PageCount()) page = drawing.PageCount() - 1;

  // Every writer writes a temporary file; the target is replaced only when
  // the writer succeeded, so a failed save never costs the old file.
  const bool ok = SafeSave(path, [&](const std::string& temp) {
    switch (format) {
      case Format::kNative:
        return SavePdf(temp, drawing);
      default:
        return false;
    }
  });
  if (!ok) return drawing.Fail(kFailedToOpen);
  return true;
}

}  // namespace zel

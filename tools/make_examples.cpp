// Writes the example drawings with the document writer in its deterministic
// mode, and optionally compares them with checked-in copies.
//
//   make_examples --out DIR [--compare DIR]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "docformat/pdf_writer.h"
#include "example_drawings.h"

namespace {

bool ReadWhole(const std::filesystem::path& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path out, compare;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--out") out = argv[i + 1];
    else if (arg == "--compare") compare = argv[i + 1];
  }
  if (out.empty()) {
    std::fprintf(stderr, "usage: make_examples --out DIR [--compare DIR]\n");
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  int failures = 0;
  for (const zel::ExampleDrawing& example : zel::ExampleDrawings()) {
    zel::PdfWriteOptions options;
    options.deterministic = true;
    const std::filesystem::path target = out / example.fileName;
    if (!zel::SavePdf(target.string(), *example.drawing, options)) {
      std::fprintf(stderr, "%s: cannot be written\n", target.c_str());
      ++failures;
      continue;
    }
    if (compare.empty()) continue;
    std::string written, expected;
    const std::filesystem::path checkedIn = compare / example.fileName;
    if (!ReadWhole(target, &written) || !ReadWhole(checkedIn, &expected)) {
      std::fprintf(stderr, "%s: cannot be read\n", checkedIn.c_str());
      ++failures;
    } else if (written != expected) {
      size_t at = 0;
      while (at < written.size() && at < expected.size() && written[at] == expected[at]) ++at;
      std::fprintf(stderr, "%s differs from %s from byte %zu on (sizes %zu and %zu)\n", target.c_str(),
                   checkedIn.c_str(), at, written.size(), expected.size());
      ++failures;
    }
  }
  return failures ? 1 : 0;
}

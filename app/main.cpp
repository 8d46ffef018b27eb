// zel: the editor, or a headless converter when given a command-line verb.
#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "Usage: zel [FILE]\n"
    "       zel --export OUT [--page N] [--size PX] [--antialias] IN\n"
    "       zel --info IN\n"
    "       zel --help | --version\n"
    "\n"
    "Without a verb zel opens the editor on FILE or on a new drawing.\n"
    "  --export OUT IN   convert IN to OUT, each format chosen by its extension\n"
    "  --page N          the page to export (1-based, default 1)\n"
    "  --size PX         longest side of an exported picture in pixels\n"
    "  --antialias       smooth an exported picture\n"
    "  --info IN         print the pages and shapes of IN as one JSON object\n"
    "  --help            show this text\n"
    "  --version         show the program version\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("zel %s\n", ZEL_VERSION);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fprintf(stderr, "zel: the editor window is not available in this build yet\n%s", kUsage);
  return 1;
}

// Entry to the editor window, for the program's main function.
#pragma once

namespace zel {

// Runs the editor: `zel [FILE]` opens FILE or a new drawing. Returns the
// process's exit code (non-zero when the window cannot be opened, for
// instance without a display, or FILE cannot be read).
int RunEditor(int argc, char** argv);

}  // namespace zel

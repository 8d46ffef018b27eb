// Face-name matching through fontconfig (private to platform/).
#pragma once

#include <memory>
#include <string_view>

namespace zel {

class FontFace;

// The face for a face name, weight (100..900; 0 = regular) and italic flag.
// A name fontconfig knows, as a family or as an alias such as a metric twin,
// gets its match; an unknown or empty name gets the default sans face
// (DejaVu Sans, else Liberation Sans, else whatever fontconfig offers). The
// style is matched as closely as the installed faces allow; Font simulates
// what is missing. Results are cached. Null only when nothing can be loaded.
std::shared_ptr<FontFace> MatchFontFace(std::u16string_view faceName, int weight, bool italic);

}  // namespace zel

#pragma once
#include <windows.h>

namespace ui {

// A font as a layout names it: face and character height in pixels at 96 dpi.
struct TFont {
    const char* Name;
    int Height;
};

// The font at the given screen resolution; made once and kept for the life of
// the program. Faces a system lacks are replaced by a stand-in it has.
HFONT FontHandle(const TFont& font, int dpi);

} // namespace ui

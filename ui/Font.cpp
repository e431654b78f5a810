#include "Font.h"

#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace ui {

namespace {

// Scalable faces tried in turn for the old bitmap face, which cannot be drawn
// at every height; the first one installed wins.
constexpr const char* SANS_SERIF_STAND_INS[] = {"Microsoft Sans Serif", "Tahoma", "Arial"};
constexpr char BITMAP_SANS_SERIF[] = "MS Sans Serif";

int CALLBACK NoteFaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(const char* face)
{
    LOGFONTA query{};
    query.lfCharSet = DEFAULT_CHARSET;
    strncpy(query.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExA(dc, &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

const char* ResolveFace(const char* face)
{
    if (strcmp(face, BITMAP_SANS_SERIF) != 0)
        return face;
    for (const char* standIn : SANS_SERIF_STAND_INS)
        if (FaceInstalled(standIn))
            return standIn;
    return face;
}

} // namespace

HFONT FontHandle(const TFont& font, int dpi)
{
    static std::map<std::pair<std::string, int>, HFONT> made;
    const int height = MulDiv(font.Height, dpi, USER_DEFAULT_SCREEN_DPI);
    auto key = std::make_pair(std::string(font.Name), height);
    auto it = made.find(key);
    if (it != made.end())
        return it->second;
    // A negative height asks for the character height, not the cell height.
    HFONT handle = CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, ResolveFace(font.Name));
    made.emplace(std::move(key), handle);
    return handle;
}

} // namespace ui

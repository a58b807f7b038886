#include "platform/win32/ui/UiFont.h"

namespace platform::win32 {

namespace {

HFONT MakeFont(int dpi, bool underline) {
    // Points to pixels at the resolution, as a negative (character) height.
    LOGFONTA font{};
    font.lfHeight = -::MulDiv(kUiFontPoints, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    ::lstrcpynA(font.lfFaceName, kUiFontFace, LF_FACESIZE);
    return ::CreateFontIndirectA(&font);
}

}  // namespace

UiFont::UiFont(int dpi)
    : dpi_(dpi), regular_(MakeFont(dpi, false)), underlined_(MakeFont(dpi, true)) {}

}  // namespace platform::win32

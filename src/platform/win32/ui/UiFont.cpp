#include "platform/win32/ui/UiFont.h"

namespace platform::win32 {

namespace {

HFONT MakeFont(bool underline) {
    // Points to pixels at the screen's resolution, as a negative (character) height.
    const ScopedScreenDc screen(::GetDC(nullptr));
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
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

UiFont::UiFont() : regular_(MakeFont(false)), underlined_(MakeFont(true)) {}

}  // namespace platform::win32

#pragma once
// The Windows-style font and drawing calls the program is written against,
// built on FreeType and fontconfig. Text here is UTF-8 and character codes
// are Unicode code points: this platform's "ANSI code page" is UTF-8.
//
// FreeType faces are shared between fonts and are not thread-safe, so every
// call below holds one lock over the whole layer: calls may come from any
// thread. A device context itself belongs to one thread at a time.

#include <cstdint>

struct DeviceContext;

using HFONT = std::uintptr_t;    // 0 means "no font"
using HGDIOBJ = std::uintptr_t;  // only fonts are GDI objects here
using HDC = DeviceContext*;
using BOOL = int;

constexpr int LF_FACESIZE = 32;
constexpr int LOGPIXELSY = 90;

// The tallest font the layer draws, in pixels: FreeType keeps sizes in 16 bits.
constexpr int maxPixelHeight = 0xFFFF;

constexpr std::uint8_t DEFAULT_CHARSET = 1;

// Field order and widths as the Windows record.
struct LOGFONTA {
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

// (a * b) / c with a 64-bit product, rounded to nearest, halves away from
// zero; -1 when c is 0 or the result does not fit 32 bits.
int MulDiv(int a, int b, int c);

// Only LOGPIXELSY is answered; every other index gives 0.
int GetDeviceCaps(HDC dc, int index);

// A new font for the description, or 0 when no font at all can be made.
HFONT CreateFontIndirectA(const LOGFONTA* lf);

// Selects a font into the context and returns the one selected before
// (0 for the context's own stock font). 0 for an unknown handle.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

// Releases a font. An unknown, zero or already released handle gives FALSE
// and does nothing.
BOOL DeleteObject(HGDIOBJ object);

// Advance widths, in whole pixels, of the characters first..last of the
// selected font, written to out[0..last-first].
BOOL GetCharWidth32A(HDC dc, std::uint32_t first, std::uint32_t last, std::int32_t* out);

// Draws count bytes of UTF-8 text with its top-left corner at (x, y).
// Only a context over a bitmap has anything to draw on.
BOOL TextOutA(HDC dc, int x, int y, const char* text, int count);

struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// TextOutA with explicit advances: after the i-th character the pen moves
// by advances[i] pixels instead of the font's own width, so text drawn
// with a font made at another scale can still stand where the measured
// widths put it. Characters, not bytes: advances holds one entry per UTF-8
// character of the count bytes. Null advances draws exactly as TextOutA.
// No options (clipping, opaquing) are supported: options must be 0 and
// rect null.
BOOL ExtTextOutA(HDC dc, int x, int y, unsigned options, const RECT* rect, const char* text, unsigned count,
                 const std::int32_t* advances);

// Copies the selected font's face name (with its zero byte) into name and
// returns the number of bytes copied, zero byte included.
int GetTextFaceA(HDC dc, int size, char* name);

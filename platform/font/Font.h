#pragma once
// A font made from a LOGFONT: one face of the catalog at one size, with the
// simulations (bold, slant, horizontal scale) that Windows applies.

#include "FontFace.h"
#include "modFontView.h"

#include <memory>
#include <string>

class Bitmap;

namespace fontview {

class Font {
public:
    // nullptr only when no installed face can serve at all.
    static std::shared_ptr<Font> create(const LOGFONTA& lf);

    const std::string& faceName() const { return face_->family(); }
    int ascent() const;

    // The advance of a character in whole pixels, as GetCharWidth32A
    // reports it.
    int advanceWidth(std::uint32_t code);

    // Draws one line of text with its top-left corner at (x, y) in the given
    // colour; returns the pen position after the last character. The pen
    // moves by the font's own widths, or by advances[i] after character i
    // when advances is given (one entry per character of text).
    int draw(Bitmap& target, int x, int y, const std::u32string& text, std::uint32_t colour,
             const std::int32_t* advances = nullptr);

private:
    Font() = default;
    bool loadGlyph(FT_UInt glyph);
    int loadedAdvance() const;
    void drawGlyph(Bitmap& target, int penX, int baseline, std::uint32_t colour);
    void drawLine(Bitmap& target, int left, int right, int baseline, int position, int thickness,
                  std::uint32_t colour);

    // The face before its size: members are destroyed in reverse, and a
    // size must be released while its face still exists.
    std::shared_ptr<FontFace> face_;
    FtSizePtr size_;
    int ppem_ = 0;
    bool fakeBold_ = false;
    bool fakeItalic_ = false;
    bool underline_ = false;
    bool strikeOut_ = false;
    FT_Fixed widthFactor_ = 0;
    int averageCharWidth_ = 1;
    FT_Pos halfWidthAdvance_ = 0;  // fixed-pitch faces only, in pixels
    FT_Pos fullWidthAdvance_ = 0;
    FT_Pos scaledFullWidthAdvance_ = 0;  // the same under a width factor
};

}  // namespace fontview

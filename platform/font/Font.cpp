#include "Font.h"

#include "DeviceContext.h"
#include "FontCatalog.h"
#include "FreeTypeLibrary.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace fontview {

namespace {

constexpr FT_Int32 loadFlags = FT_LOAD_DEFAULT | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | FT_LOAD_NO_BITMAP;
constexpr FT_Fixed slant = 0x4000;  // a quarter of the height, as Windows slants

// The face for the description, trying the usual fallbacks for an unknown
// or empty name. Font substitutions are not consulted.
const CatalogEntry* chooseFace(const LOGFONTA& lf, bool bold, bool italic)
{
    FontCatalog& catalog = FontCatalog::instance();
    const std::string name(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    for (const std::string& candidate : {name, std::string("Arial"), std::string("Liberation Sans"),
                                         std::string("Bitstream Vera Sans")}) {
        if (const CatalogEntry* entry = catalog.find(candidate, bold, italic))
            return entry;
    }
    if (const CatalogEntry* entry = catalog.matchGeneric("sans", bold, italic))
        return entry;
    return catalog.entries().empty() ? nullptr : &catalog.entries().front();
}

int ppemFor(const FontFace& face, std::int32_t height)
{
    if (height == 0)
        return face.ppemForCellHeight(16);
    if (height > 0)
        return face.ppemForCellHeight(height);
    if (height < -maxPixelHeight)
        return 1;
    return -height;
}

}  // namespace

std::shared_ptr<Font> Font::create(const LOGFONTA& lf)
{
    const bool bold = lf.lfWeight > 550;
    const bool italic = lf.lfItalic != 0;
    const CatalogEntry* entry = chooseFace(lf, bold, italic);
    if (!entry)
        return nullptr;
    std::shared_ptr<FontFace> face = FontCatalog::instance().open(*entry);
    if (!face)
        return nullptr;

    std::shared_ptr<Font> font(new Font);
    font->face_ = face;
    font->ppem_ = ppemFor(*face, lf.lfHeight);
    font->fakeBold_ = bold && !face->bold();
    font->fakeItalic_ = italic && !face->italic();
    font->underline_ = lf.lfUnderline != 0;
    font->strikeOut_ = lf.lfStrikeOut != 0;

    FT_Size size = nullptr;
    if (FT_New_Size(face->ft(), &size) != 0)
        return nullptr;
    font->size_.reset(size);
    FT_Activate_Size(size);
    if (FT_Set_Pixel_Sizes(face->ft(), 0, static_cast<FT_UInt>(font->ppem_)) != 0)
        return nullptr;

    // Scaled from design units to pixels in one rounding, as Windows does.
    const FT_Fixed emScale = MulDiv(font->ppem_, 1 << 16, face->unitsPerEm());
    const int average = static_cast<int>(FT_MulFix(face->xAvgCharWidth(), emScale));
    font->averageCharWidth_ = average > 0 ? average : 1;

    // In a fixed-pitch face a glyph as wide as two average characters is a
    // full-width one, and is made exactly twice the half width.
    if (face->fixedPitch()) {
        font->halfWidthAdvance_ = FT_MulFix(face->xAvgCharWidth(), emScale);
        if (font->halfWidthAdvance_ > 0)
            font->fullWidthAdvance_ = FT_MulFix(2 * face->xAvgCharWidth(), emScale);
    }

    // A requested average width scales the face horizontally; a height of
    // 0 ignores it.
    if (lf.lfWidth != 0 && lf.lfHeight != 0) {
        const double width = std::abs(static_cast<double>(lf.lfWidth));
        font->widthFactor_ = static_cast<FT_Fixed>(width / font->averageCharWidth_ * 65536.0);
        // A scaled full-width glyph is twice the scaled average width, that
        // width rounded first: at a height of -1 every glyph of a
        // fixed-pitch face is full width, and width 5 gives 6, not 10.
        if (font->fullWidthAdvance_ > 0)
            font->scaledFullWidthAdvance_ =
                2 * FT_MulFix(FT_MulFix(face->xAvgCharWidth(), font->widthFactor_), emScale);
    }
    return font;
}

int Font::ascent() const
{
    return static_cast<int>((FT_MulFix(face_->winAscent(), size_->metrics.y_scale) + 32) >> 6);
}

bool Font::loadGlyph(FT_UInt glyph)
{
    // A face is shared by every font made from it, each with a size of its
    // own; the face loads glyphs at whichever size was activated last.
    FT_Activate_Size(size_.get());
    if (FT_Load_Glyph(face_->ft(), glyph, loadFlags) == 0)
        return true;
    return FT_Load_Glyph(face_->ft(), glyph, loadFlags | FT_LOAD_NO_HINTING) == 0;
}

int Font::advanceWidth(std::uint32_t code)
{
    return loadGlyph(face_->glyphIndex(code)) ? loadedAdvance() : 0;
}

int Font::loadedAdvance() const
{
    FT_Pos advance = face_->ft()->glyph->metrics.horiAdvance;
    const bool fullWidth = fullWidthAdvance_ > 0 && (advance + 63) >> 6 == fullWidthAdvance_;
    if (fullWidth && widthFactor_ != 0)
        advance = scaledFullWidthAdvance_ * 64;
    else if (fullWidth)
        advance = 2 * halfWidthAdvance_ * 64;
    else if (widthFactor_ != 0)
        advance = FT_MulFix(advance, widthFactor_);
    if (fakeBold_)
        advance += 64;
    return static_cast<int>((advance + 63) >> 6);
}

void Font::drawGlyph(Bitmap& target, int penX, int baseline, std::uint32_t colour)
{
    FT_GlyphSlot slot = face_->ft()->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (fakeBold_)
            FT_Outline_Embolden(&slot->outline, FT_MulDiv(ppem_, 64, 24));
        if (widthFactor_ != 0 || fakeItalic_) {
            FT_Matrix matrix{widthFactor_ != 0 ? widthFactor_ : 0x10000, fakeItalic_ ? slant : 0, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &matrix);
        }
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return;
    const int left = penX + slot->bitmap_left;
    const int top = baseline - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* line = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column)
            if (line[column] != 0)
                target.blend(left + static_cast<int>(column), top + static_cast<int>(row), colour, line[column]);
    }
}

void Font::drawLine(Bitmap& target, int left, int right, int baseline, int position, int thickness,
                    std::uint32_t colour)
{
    const FT_Fixed scale = size_->metrics.y_scale;
    const int offset = static_cast<int>((FT_MulFix(position, scale) + 32) >> 6);
    const int height = std::max(1, static_cast<int>((FT_MulFix(thickness, scale) + 32) >> 6));
    const int top = baseline - offset - height / 2;
    target.fillRect(left, top, right, top + height, colour);
}

int Font::draw(Bitmap& target, int x, int y, const std::u32string& text, std::uint32_t colour,
               const std::int32_t* advances)
{
    const int baseline = y + ascent();
    int pen = x;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // The pen moves by the measured width, so the picture shows exactly
        // what is measured. Given advances are kept even for a glyph that
        // cannot be drawn, so the characters after it stay in place.
        if (!loadGlyph(face_->glyphIndex(text[i]))) {
            if (advances)
                pen += advances[i];
            continue;
        }
        const int advance = advances ? advances[i] : loadedAdvance();
        drawGlyph(target, pen, baseline, colour);
        pen += advance;
    }
    FT_Face f = face_->ft();
    if (underline_)
        drawLine(target, x, pen, baseline, f->underline_position, f->underline_thickness, colour);
    if (strikeOut_)
        drawLine(target, x, pen, baseline, face_->strikeoutPosition(), face_->strikeoutSize(), colour);
    return pen;
}

}  // namespace fontview

#include "FontFace.h"

#include "FreeTypeLibrary.h"
#include "Utf8.h"

#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <cstdlib>

namespace fontview {

namespace {

std::string fromUtf16Be(const FT_Byte* bytes, FT_UInt length)
{
    std::string out;
    for (FT_UInt i = 0; i + 1 < length; i += 2) {
        char32_t unit = (bytes[i] << 8) | bytes[i + 1];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < length) {
            const char32_t low = (bytes[i + 2] << 8) | bytes[i + 3];
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, unit);
    }
    return out;
}

std::string fromSingleBytes(const FT_Byte* bytes, FT_UInt length)
{
    std::string out;
    for (FT_UInt i = 0; i < length; ++i)
        appendUtf8(out, bytes[i]);
    return out;
}

// A name the way Windows reads it: the Microsoft-platform record in US
// English first, then any English, then any Microsoft record, then the
// Macintosh English record.
std::string windowsName(FT_Face face, FT_UShort nameId)
{
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    int bestRank = 0;
    FT_SfntName best{};
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != nameId || name.string_len == 0)
            continue;
        int rank = 0;
        if (name.platform_id == TT_PLATFORM_MICROSOFT &&
            (name.encoding_id == TT_MS_ID_UNICODE_CS || name.encoding_id == TT_MS_ID_SYMBOL_CS ||
             name.encoding_id == TT_MS_ID_UCS_4)) {
            if (name.language_id == TT_MS_LANGID_ENGLISH_UNITED_STATES)
                rank = 4;
            else if ((name.language_id & 0x3FF) == 0x09)
                rank = 3;
            else
                rank = 2;
        } else if (name.platform_id == TT_PLATFORM_MACINTOSH && name.language_id == TT_MAC_LANGID_ENGLISH) {
            rank = 1;
        }
        if (rank > bestRank) {
            bestRank = rank;
            best = name;
        }
    }
    if (bestRank >= 2)
        return fromUtf16Be(best.string, best.string_len);
    if (bestRank == 1)
        return fromSingleBytes(best.string, best.string_len);
    return {};
}

std::uint16_t be16(const FT_Byte* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }
std::int16_t be16s(const FT_Byte* p) { return static_cast<std::int16_t>(be16(p)); }

// A face that Windows could select: a scalable sfnt face with an em.
FtFacePtr sfntFace(FT_Error error, FT_Face raw)
{
    if (error != 0)
        return nullptr;
    FtFacePtr face(raw);
    if (!FT_IS_SFNT(raw) || !FT_IS_SCALABLE(raw) || raw->units_per_EM == 0)
        return nullptr;
    return face;
}

FaceNames namesOf(FT_Face face)
{
    FaceNames names;
    names.family = windowsName(face, TT_NAME_ID_FONT_FAMILY);
    if (names.family.empty() && face->family_name)
        names.family = face->family_name;
    names.fullName = windowsName(face, TT_NAME_ID_FULL_NAME);
    names.bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    names.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    return names;
}

}  // namespace

std::unique_ptr<FontFace> FontFace::open(const std::string& file, int index)
{
    FT_Face raw = nullptr;
    const FT_Error error = FT_New_Face(freeTypeLibrary(), file.c_str(), index, &raw);
    FtFacePtr face = sfntFace(error, raw);
    if (!face)
        return nullptr;
    std::unique_ptr<FontFace> result(new FontFace(std::move(face)));
    if (result->names_.family.empty())
        return nullptr;
    return result;
}

std::optional<FaceNames> FontFace::readNames(FT_Library library, const unsigned char* file, std::size_t size,
                                             int index)
{
    FT_Face raw = nullptr;
    const FT_Error error = FT_New_Memory_Face(library, file, static_cast<FT_Long>(size), index, &raw);
    const FtFacePtr face = sfntFace(error, raw);
    if (!face)
        return std::nullopt;
    FaceNames names = namesOf(face.get());
    if (names.family.empty())
        return std::nullopt;
    return names;
}

FontFace::FontFace(FtFacePtr face) : face_(std::move(face)), names_(namesOf(face_.get()))
{
    FT_Face f = face_.get();
    if (FT_Select_Charmap(f, FT_ENCODING_UNICODE) != 0 && FT_Select_Charmap(f, FT_ENCODING_MS_SYMBOL) == 0)
        symbolCmap_ = true;
    readTables();
}

void FontFace::readTables()
{
    FT_Face f = face_.get();
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA));

    int winDescent = 0;
    if (os2 && os2->version != 0xFFFF) {
        winAscent_ = os2->usWinAscent;
        // Some fonts store the descent as a negative number.
        winDescent = std::abs(static_cast<std::int16_t>(os2->usWinDescent));
        xAvgCharWidth_ = os2->xAvgCharWidth;
        strikeoutPosition_ = os2->yStrikeoutPosition;
        strikeoutSize_ = os2->yStrikeoutSize;
    }
    constexpr FT_Byte monospacedProportion = 9;
    fixedPitch_ = FT_IS_FIXED_WIDTH(f) || (os2 && os2->version != 0xFFFF && os2->panose[3] == monospacedProportion);
    cellUnits_ = winAscent_ + winDescent;
    if (cellUnits_ == 0 && hhea) {
        winAscent_ = hhea->Ascender;
        cellUnits_ = hhea->Ascender - hhea->Descender;
    }
    if (cellUnits_ <= 0)
        cellUnits_ = f->units_per_EM;
    if (strikeoutSize_ <= 0) {
        strikeoutSize_ = f->underline_thickness > 0 ? f->underline_thickness : f->units_per_EM / 20;
        strikeoutPosition_ = f->units_per_EM * 3 / 10;
    }

    // VDMX: for each aspect ratio a group of (ppem, yMax, yMin) records.
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(f, TTAG_VDMX, 0, nullptr, &length) != 0 || length < 6)
        return;
    std::vector<FT_Byte> table(length);
    if (FT_Load_Sfnt_Table(f, TTAG_VDMX, 0, table.data(), &length) != 0)
        return;
    const std::size_t ratios = be16(&table[4]);
    const std::size_t offsetsAt = 6 + 4 * ratios;
    if (offsetsAt + 2 * ratios > length)
        return;
    for (std::size_t r = 0; r < ratios; ++r) {
        const FT_Byte* ratio = &table[6 + 4 * r];
        const int xRatio = ratio[1], yStart = ratio[2], yEnd = ratio[3];
        const bool any = xRatio == 0 && yStart == 0 && yEnd == 0;
        const bool square = xRatio == 1 && yStart <= 1 && yEnd >= 1;
        if (!any && !square)
            continue;
        const std::size_t group = be16(&table[offsetsAt + 2 * r]);
        if (group + 4 > length)
            return;
        const std::size_t records = be16(&table[group]);
        if (group + 4 + 6 * records > length)
            return;
        for (std::size_t i = 0; i < records; ++i) {
            const FT_Byte* rec = &table[group + 4 + 6 * i];
            vdmx_.push_back({be16(rec), be16s(rec + 2), be16s(rec + 4)});
        }
        return;
    }
}

int FontFace::vdmxPpem(int height) const
{
    // The largest size whose cell does not exceed the height.
    for (std::size_t i = 0; i < vdmx_.size(); ++i) {
        const int cell = vdmx_[i].yMax - vdmx_[i].yMin;
        if (cell == height)
            return vdmx_[i].ppem;
        if (cell > height)
            return i == 0 ? 0 : vdmx_[i - 1].ppem;
    }
    return 0;
}

int FontFace::ppemForCellHeight(int height) const
{
    if (const int fromTable = vdmxPpem(height); fromTable > 0)
        return fromTable;
    const long upem = face_->units_per_EM;
    int ppem = static_cast<int>(FT_MulDiv(upem, height, cellUnits_));
    if (ppem > 1 && FT_MulDiv(cellUnits_, ppem, upem) > height)
        --ppem;
    if (ppem > 0xFFFF)
        ppem = 1;
    return ppem < 1 ? 1 : ppem;
}

FT_UInt FontFace::glyphIndex(std::uint32_t code) const
{
    FT_UInt glyph = FT_Get_Char_Index(face_.get(), code);
    if (glyph == 0 && symbolCmap_ && code < 0x100)
        glyph = FT_Get_Char_Index(face_.get(), code + 0xF000);
    return glyph;
}

}  // namespace fontview

#pragma once
// One opened sfnt face (TrueType or OpenType) with the table values that
// Windows font selection and text metrics are made of.

#include "FreeTypeHandles.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fontview {

// What the font catalog knows a face by: its Windows names and style bits.
struct FaceNames {
    std::string family;    // name ID 1
    std::string fullName;  // name ID 4
    bool bold = false;
    bool italic = false;

    bool operator==(const FaceNames&) const = default;
};

struct VdmxEntry {
    int ppem;
    int yMax;
    int yMin;
};

class FontFace {
public:
    // nullptr when the file is not a scalable sfnt face.
    static std::unique_ptr<FontFace> open(const std::string& file, int index);
    // Only the names of a face that open() would accept, without reading
    // its other tables, from the whole file in memory; nullopt where open()
    // gives nullptr. Read with the given FreeType library, on the thread
    // that uses it.
    static std::optional<FaceNames> readNames(FT_Library library, const unsigned char* file, std::size_t size,
                                              int index);

    FT_Face ft() const { return face_.get(); }

    const std::string& family() const { return names_.family; }
    const std::string& fullName() const { return names_.fullName; }
    bool bold() const { return names_.bold; }
    bool italic() const { return names_.italic; }
    // Fixed pitch as Windows sees it: the post table says so, or the
    // PANOSE proportion is monospaced (FreeMono says only the latter).
    bool fixedPitch() const { return fixedPitch_; }

    int unitsPerEm() const { return face_->units_per_EM; }
    // Design units of the Windows cell: usWinAscent + usWinDescent, or the
    // hhea ascender minus descender where those are 0.
    int cellUnits() const { return cellUnits_; }
    int winAscent() const { return winAscent_; }
    int xAvgCharWidth() const { return xAvgCharWidth_; }
    int strikeoutPosition() const { return strikeoutPosition_; }
    int strikeoutSize() const { return strikeoutSize_; }

    // Pixels per em for a positive lfHeight (a cell height in pixels).
    int ppemForCellHeight(int height) const;

    // The glyph of a character through the Unicode cmap (or a symbol cmap),
    // 0 when the font lacks it.
    FT_UInt glyphIndex(std::uint32_t code) const;

private:
    explicit FontFace(FtFacePtr face);
    void readTables();
    int vdmxPpem(int height) const;

    FtFacePtr face_;
    FaceNames names_;
    bool symbolCmap_ = false;
    bool fixedPitch_ = false;
    int cellUnits_ = 0;
    int winAscent_ = 0;
    int xAvgCharWidth_ = 0;
    int strikeoutPosition_ = 0;
    int strikeoutSize_ = 0;
    std::vector<VdmxEntry> vdmx_;  // the group for a 1:1 aspect ratio
};

}  // namespace fontview

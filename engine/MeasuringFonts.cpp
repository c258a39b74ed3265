#include "MeasuringFonts.h"

#include "DeviceContext.h"
#include "SelectedFont.h"

#include <iterator>

namespace engine {

class MeasuringFonts::Own {
public:
    explicit Own(const LOGFONTA& description)
        : handle_(CreateFontIndirectA(&description)), selected_(&context_, handle_)
    {
    }
    ~Own()
    {
        if (handle_ != 0)
            DeleteObject(handle_);
    }
    Own(const Own&) = delete;
    Own& operator=(const Own&) = delete;

    bool exists() const { return handle_ != 0; }

    WidthTable table()
    {
        WidthTable widths{};
        GetCharWidth32A(&context_, firstTableCode, lastTableCode, widths.data());
        return widths;
    }

    std::int32_t width(char32_t code)
    {
        std::int32_t width = 0;
        GetCharWidth32A(&context_, code, code, &width);
        return width;
    }

    std::string faceName()
    {
        char name[LF_FACESIZE];
        GetTextFaceA(&context_, LF_FACESIZE, name);
        return name;
    }

private:
    HFONT handle_;
    DeviceContext context_;
    SelectedFont selected_;  // after context_: put back before the context goes
};

MeasuringFonts::MeasuringFonts() = default;
MeasuringFonts::~MeasuringFonts() = default;

bool MeasuringFonts::add(const LOGFONTA& description)
{
    Own& font = fonts_.emplace_back(description);
    if (!font.exists()) {
        fonts_.pop_back();
        return false;
    }
    // Made from the same description as CurrentFont, so with the same widths.
    widths_.push_back(&owned_.emplace_back(font.table(), [&font](char32_t code) { return font.width(code); }));
    return true;
}

std::string MeasuringFonts::faceName(std::size_t i) const
{
    return const_cast<Own&>(*std::next(fonts_.begin(), static_cast<std::ptrdiff_t>(i))).faceName();
}

}  // namespace engine

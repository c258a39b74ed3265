#include "MeasuringFont.h"

namespace catalogue {

MeasuringFont::MeasuringFont(const LOGFONTA& description)
    : handle_(CreateFontIndirectA(&description)), selected_(&context_, handle_)
{
    if (handle_ == 0)
        return;
    engine::WidthTable table{};
    GetCharWidth32A(&context_, engine::firstTableCode, engine::lastTableCode, table.data());
    widths_ = std::make_unique<engine::FontWidths>(table, [this](char32_t code) {
        std::int32_t width = 0;
        GetCharWidth32A(&context_, code, code, &width);
        return width;
    });
}

MeasuringFont::~MeasuringFont()
{
    if (handle_ != 0)
        DeleteObject(handle_);
}

}  // namespace catalogue

#include "CalculateWidth.h"

#include "CurrentFont.h"
#include "DeviceContext.h"
#include "SelectedFont.h"

#include <new>

namespace engine {

namespace {

// A font the measurement owns: released when the measurement ends, so a
// repaint that replaces CurrentFont meanwhile never touches it. It stays
// selected into a context of its own for the whole measurement.
class OwnFont {
public:
    explicit OwnFont(const LOGFONTA& description)
        : handle_(CreateFontIndirectA(&description)), selected_(&context_, handle_)
    {
    }
    ~OwnFont()
    {
        if (handle_ != 0)
            DeleteObject(handle_);
    }
    OwnFont(const OwnFont&) = delete;
    OwnFont& operator=(const OwnFont&) = delete;

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

private:
    HFONT handle_;
    DeviceContext context_;
    SelectedFont selected_;  // after context_: put back before the context goes
};

Outcome outcomeOf(MeasureStatus status)
{
    switch (status) {
    case MeasureStatus::Ok: return Outcome::Done;
    case MeasureStatus::Empty: return Outcome::EmptyFile;
    case MeasureStatus::CannotRead: return Outcome::Unreadable;
    case MeasureStatus::Changed: return Outcome::Changed;
    case MeasureStatus::Cancelled: return Outcome::Cancelled;
    case MeasureStatus::OutOfMemory: return Outcome::OutOfMemory;
    case MeasureStatus::UnknownColumn: return Outcome::UnknownColumn;
    case MeasureStatus::UnclosedQuote: return Outcome::UnclosedQuote;
    case MeasureStatus::RecordTooLong: return Outcome::RecordTooLong;
    }
    return Outcome::Unreadable;
}

}  // namespace

WidthTable takeWidthTable(HFONT font)
{
    WidthTable table{};
    DeviceContext context;
    const SelectedFont selected(&context, font);
    GetCharWidth32A(&context, firstTableCode, lastTableCode, table.data());
    return table;
}

Outcome checkCalculation(const CalculationRequest& request)
{
    if (request.dataFileTitle.empty())
        return Outcome::NoDataFile;
    if (CurrentFont == 0)
        return Outcome::NoFont;
    return Outcome::Done;
}

CalculationResult measureCalculation(const CalculationRequest& request)
{
    CalculationResult result;
    try {
        OwnFont font(request.font);
        if (!font.exists()) {
            result.outcome = Outcome::NoFont;
            return result;
        }
        // The measurement's own font is made from the same description as
        // CurrentFont, so it has the same widths.
        const FontWidths widths(font.table(), [&font](char32_t code) { return font.width(code); });
        MeasureResult measured = measure(request.data, widths, request.options);
        result.outcome = outcomeOf(measured.status);
        result.reason = std::move(measured.reason);
        result.layout = std::move(measured.layout);
        result.unclosedQuoteLine = measured.unclosedQuoteLine;
        if (result.outcome != Outcome::Done)
            return result;
        result.measurement = resolve(measured.tally, request.options.maxWidth);
        result.statistics = computeStatistics(result.measurement.widths);
        result.tally = std::move(measured.tally);
    } catch (const std::bad_alloc&) {
        result = CalculationResult{};
        result.outcome = Outcome::OutOfMemory;
    }
    return result;
}

CalculationResult CalculateWidth(const CalculationRequest& request)
{
    const Outcome refusal = checkCalculation(request);
    if (refusal != Outcome::Done) {
        CalculationResult result;
        result.outcome = refusal;
        return result;
    }
    return measureCalculation(request);
}

}  // namespace engine

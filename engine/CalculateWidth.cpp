#include "CalculateWidth.h"

#include "CurrentFont.h"

namespace engine {

namespace {

CalculationResult refusal(Outcome outcome, std::string message, MessageIcon icon)
{
    CalculationResult result;
    result.outcome = outcome;
    result.message = std::move(message);
    result.icon = icon;
    return result;
}

// The font's own advance for a character outside the table. The current
// font is looked up at each query: a repaint during the calculation may
// have replaced it by an equal one.
std::int32_t queryWidth(HDC context, char32_t code)
{
    std::int32_t width = 0;
    const HGDIOBJ previous = SelectObject(context, CurrentFont);
    GetCharWidth32A(context, code, code, &width);
    SelectObject(context, previous);
    return width;
}

}  // namespace

WidthTable takeWidthTable(HDC context)
{
    WidthTable table{};
    const HGDIOBJ previous = SelectObject(context, CurrentFont);
    GetCharWidth32A(context, firstTableCode, lastTableCode, table.data());
    SelectObject(context, previous);
    return table;
}

CalculationResult CalculateWidth(const CalculationRequest& request)
{
    if (request.dataFileTitle.empty())
        return refusal(Outcome::NoDataFile, "You must select a data file on which to perform the calculation.",
                       MessageIcon::Critical);
    if (CurrentFont == 0)
        return refusal(Outcome::NoFont, "Font not yet selected", MessageIcon::None);

    HDC context = request.widthContext;
    CharWidths widths(takeWidthTable(context), [context](char32_t code) { return queryWidth(context, code); });

    // Measured into a fresh record: earlier results stay as they are unless
    // this calculation succeeds.
    MeasureResult measured = measureFile(request.dataFilePath, widths, request.progress);
    switch (measured.status) {
    case MeasureStatus::Ok:
        break;
    case MeasureStatus::Empty:
        WidthStatistics.MinWidth = -1;
        WidthStatistics.MaxWidth = -1;
        return refusal(Outcome::EmptyFile,
                       "The data file '" + request.dataFileTitle + "' does not contain any data.",
                       MessageIcon::Critical);
    case MeasureStatus::CannotRead:
        return refusal(Outcome::Unreadable,
                       "The data file '" + request.dataFilePath + "' could not be read: " + measured.reason + ".",
                       MessageIcon::Critical);
    case MeasureStatus::Changed:
        return refusal(Outcome::Changed,
                       "The data file '" + request.dataFilePath +
                           "' changed while it was being measured. Please calculate again.",
                       MessageIcon::Critical);
    case MeasureStatus::Cancelled:
        return refusal(Outcome::Cancelled, "", MessageIcon::None);
    }

    const LineMeasurement& data = measured.data;
    publishStatistics(WidthStatistics, computeStatistics(data.LineWidths, data.TotalWidth), data.MinWidth,
                      data.MaxWidth);
    CalculationResult result;
    result.lineCount = data.LineCount;
    result.encoding = data.encoding;
    return result;
}

}  // namespace engine

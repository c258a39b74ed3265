#include "CalculateWidth.h"

#include "ColumnCaption.h"
#include "CurrentFont.h"
#include "MeasuringFonts.h"
#include "DeviceContext.h"
#include "SelectedFont.h"

#include <new>

namespace engine {


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
    if (!request.dataFileChosen)
        return Outcome::NoDataFile;
    if (CurrentFont == 0)
        return Outcome::NoFont;
    return Outcome::Done;
}

std::vector<TargetResult> targetResults(const StreamTally& tally, const RecordLayout& layout, bool delimited,
                                        std::size_t fonts, std::optional<std::int64_t> maxWidth)
{
    std::vector<TargetResult> targets;
    const std::size_t columns = delimited ? layout.columns.size() : 1;
    for (std::size_t c = 0; c < columns; ++c) {
        for (std::size_t f = 0; f < fonts; ++f) {
            TargetResult target;
            target.font = f;
            if (delimited) {
                target.column = layout.columns[c];
                target.caption = columnCaption(layout.headerNames, layout.header, target.column);
            }
            target.measurement = resolve(tally, c * fonts + f, maxWidth);
            target.statistics = computeStatistics(target.measurement.widths);
            targets.push_back(std::move(target));
        }
    }
    return targets;
}

CalculationResult measureCalculation(const CalculationRequest& request)
{
    CalculationResult result;
    try {
        MeasuringFonts fonts;
        for (const LOGFONTA& description : request.fonts) {
            if (!fonts.add(description)) {
                result.outcome = Outcome::NoFont;
                return result;
            }
        }
        const MeasureRequest measured{request.data, fonts.widths(), request.options};
        MeasureResult m = measure(measured);
        result.outcome = m.outcome;
        result.reason = std::move(m.reason);
        result.layout = std::move(m.layout);
        result.unclosedQuoteLine = m.unclosedQuoteLine;
        result.unknownColumn = std::move(m.unknownColumn);
        result.delimited = request.options.delimited.has_value();
        result.threads = m.threads;
        result.fewerThreads = m.fewerThreads;
        if (result.outcome != Outcome::Done)
            return result;
        result.targets = targetResults(m.tally, result.layout, result.delimited, measured.fonts.size(),
                                       request.options.maxWidth);
        result.tally = std::move(m.tally);
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

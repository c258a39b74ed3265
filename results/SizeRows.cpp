#include "SizeRows.h"

#include "FontDescription.h"
#include "MeasuringFonts.h"
#include "NumberFormat.h"

#include <algorithm>
#include <filesystem>
#include <new>

namespace report {

namespace {

LOGFONTA describedAt(const SizesSource& source, int points)
{
    engine::FontSelections selections = source.selections;
    selections.sizeText = std::to_string(points);
    LOGFONTA lf{};
    engine::describeFont(lf, selections, source.logPixelsY);
    return lf;
}

}  // namespace

int SizesSource::chosenSize() const { return engine::pointSizeFromText(selections.sizeText); }

std::vector<int> neighbouringSizes(int chosen)
{
    std::vector<int> sizes;
    // A size the list does not hold stands beside its nearest end.
    chosen = std::clamp(chosen, engine::smallestListedPointSize, engine::largestListedPointSize);
    const int from = std::max(engine::smallestListedPointSize, chosen - sizesEachSide);
    const int to = std::min(engine::largestListedPointSize, chosen + sizesEachSide);
    for (int points = from; points <= to; ++points)
        sizes.push_back(points);
    return sizes;
}

engine::CalculationRequest sizesRequest(const SizesSource& source, const std::vector<int>& sizes)
{
    engine::CalculationRequest request;
    request.dataFileChosen = source.measurable();
    request.dataFileTitle = source.dataFileTitle;
    request.data = source.data;
    request.options.delimited = source.delimited;
    for (const int points : sizes)
        request.fonts.push_back(describedAt(source, points));
    return request;
}

std::vector<SizeRow> sizeRows(const engine::CalculationResult& result, const std::vector<int>& sizes)
{
    std::vector<SizeRow> rows;
    for (const engine::TargetResult& target : result.targets)
        if (target.font < sizes.size())
            rows.push_back({sizes[target.font], target.statistics});
    return rows;
}

std::size_t rowFor(std::vector<SizeRow>& rows, int points, const engine::Statistics& statistics)
{
    const auto at = std::lower_bound(rows.begin(), rows.end(), points,
                                     [](const SizeRow& row, int size) { return row.points < size; });
    const std::size_t index = static_cast<std::size_t>(at - rows.begin());
    if (at == rows.end() || at->points != points)
        rows.insert(at, SizeRow{points, statistics});
    return index;
}

std::array<std::string, 5> rowCells(const SizeRow& row)
{
    // 95% and 99% are the last two of the shares.
    constexpr std::size_t p95 = 5, p99 = 6;
    const engine::Statistics& s = row.statistics;
    return {std::to_string(row.points), std::to_string(s.MaxWidth), std::to_string(s.exactFits[p95]),
            std::to_string(s.exactFits[p99]), formatWhole(s.fits[p99])};
}

FitWithin searchFitWithin(const SizesSource& source, std::int64_t within, const engine::ProgressHook& progress)
{
    FitWithin found;
    try {
        engine::MeasuringFonts fonts;
        engine::SizeSearchRequest request;
        request.source = source.data;
        request.options.delimited = source.delimited;
        request.options.progress = progress;
        request.percent = fitWithinShare;
        request.within = within;
        request.faces.emplace_back();
        for (int points = engine::smallestListedPointSize; points <= engine::largestListedPointSize; ++points) {
            if (!fonts.add(describedAt(source, points))) {
                found.outcome = engine::Outcome::NoFont;
                return found;
            }
            request.faces.front().push_back({points, fonts.widths().back()});
        }
        engine::SizeSearchResult result = engine::searchSizes(request);
        found.outcome = result.failed.outcome;
        found.reason = std::move(result.failed.reason);
        if (found.outcome != engine::Outcome::Done)
            return found;
        found.answer = result.faces.front();
        found.statistics = std::move(result.statistics.front());
    } catch (const std::bad_alloc&) {
        found = FitWithin{};
        found.outcome = engine::Outcome::OutOfMemory;
    }
    return found;
}

std::string notMeasurableAgain(const SizesSource& source)
{
    if (!source.measurable())
        return "There is no data file to measure in other sizes.";
    // A file that is gone is left to the reading, which says why.
    std::error_code missing;
    const bool there = source.data.standardInput || std::filesystem::exists(source.data.path, missing);
    if (there && engine::readableOnlyOnce(source.data))
        return "The data came from a stream, which cannot be read a second time, so other sizes cannot be "
               "measured. Save it to a file and calculate with that file to compare sizes.";
    const std::optional<engine::FileStamp> now = engine::fileStamp(source.data);
    if (source.stamp && now && now != source.stamp)
        return "The data file '" + source.data.path +
               "' has changed since it was measured. Calculate again to compare sizes.";
    return {};
}

std::string sizesProblem(const SizesSource& source, engine::Outcome outcome, const std::string& reason)
{
    return calculationMessage(outcome, {source.dataFileTitle, source.data.path, reason, 0, {}}).text;
}

}  // namespace report
